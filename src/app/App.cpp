#include "app/App.h"

#include "ui/MainWindow.h"

namespace vantrel {

App::App(Ui& ui_, Clock& clock_) : ui(ui_), clock(clock_) {}

// At process exit the error file gets its closing lines and the log its end line.
App::~App() {
    cmdline.errorFile.Close(cmdline.serialNumber);
    log.Close();
}

} // namespace vantrel
