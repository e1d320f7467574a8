// vantrel: the windowed program.
#include <unistd.h>

#include <QApplication>
#include <csignal>
#include <cstdio>

#include "app/App.h"
#include "app/LinkControl.h"
#include "app/Startup.h"
#include "platform/SteadyClock.h"
#include "ui/qt/MainFrame.h"
#include "ui/qt/QtUi.h"

int main(int argc, char** argv) {
    using namespace vantrel;
    // Console output (the farewell line, Qt's warnings on stderr) is a courtesy: a reader that
    // went away must not end the program before it has saved its settings.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication qapp(argc, argv);
    SteadyClock clock;
    QtUi ui;
    int32_t code = 0;
    {
        App app(ui, clock);
        LINK_UseSystemPorts(app);
        MainFrame frame(app, ui);
        frame.show();
        if (InitInstance(app, argc, argv, {}, [&frame] { frame.RegisterDialogs(); }))
            QApplication::exec();
        code = ExitInstance(app);
        if (isatty(STDOUT_FILENO)) std::printf("Thank you for using KORVID tools\n");
    }
    return code;
}
