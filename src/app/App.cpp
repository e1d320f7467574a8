#include "app/App.h"

#include "app/LinkControl.h"
#include "app/LinkRuntime.h"

namespace vantrel {

App::App(Ui& ui_, Clock& clock_) : ui(ui_), clock(clock_) {
    // The error file and the log tell the user directly: the error path would feed the error
    // file again while it is being opened.
    auto notice = [this](const std::string& text) {
        ui.MessageBox(text, "VANTREL", MsgButtons::Ok, MsgIcon::Warning, MsgAnswer::Ok);
    };
    cmdline.errorFile.SetNoticeHandler(notice);
    log.SetNoticeHandler(notice);
    mainQueue.SetWaker([this] { ui.WakeMainLoop(); });
    // The device, the banks, the fill byte or the external area changed: the cached image CRC
    // no longer holds.
    selection.SetChangeHook([this] { doc.MarkCrcStale(); });
}

void AppReporter::Report(int32_t code, const char* text) {
    APP_ReportError(app_, code, text);
}

// At process exit the error file gets its closing lines and the log its end line.
App::~App() {
    LINK_Stop(*this);
    link.reset();
    cmdline.errorFile.Close(cmdline.serialNumber);
    log.Close();
}

} // namespace vantrel
