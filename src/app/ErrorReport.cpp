#include <optional>

#include "app/App.h"
#include "app/LinkControl.h"
#include "base/Codes.h"

namespace vantrel {

void SetLastErrorCode(App& app, int32_t code) {
    app.lastErrorCode = code;
    CMDLINE_SetErrorLevel(app, code);
}

int32_t GetLastErrorCode(const App& app) {
    return app.lastErrorCode;
}

void APP_PumpMessages(App& app) {
    app.mainQueue.Drain();
    LINK_PublishTarget(app); // what changed while the main thread worked
    app.ui.PumpMessages();
}

void APP_ReportError(App& app, int32_t code, const char* text) {
    if (std::this_thread::get_id() != app.mainThread) {
        // The whole report runs on the main thread, as if it had been made there.
        std::optional<std::string> copy;
        if (text) copy = text;
        app.mainQueue.Post(
            [&app, code, copy] { APP_ReportError(app, code, copy ? copy->c_str() : nullptr); });
        return;
    }
    std::string message;
    if (code != 0) {
        if (!text) message = ErrorText(code, PM_Status(app.pm));
        SetLastErrorCode(app, code);
    }
    if (text) message = text;
    message = message.substr(0, kMessageSize - 1);
    if (code != 0) {
        ++app.errorCount;
        app.lastErrorText = message;
    }

    // The error file records every error of a batch run and every command-line error, also
    // those of the options that act while the arguments are parsed. The message is shown below.
    if (CMDLINE_IsBatchRunning(app) || app.cmdline.parsing) CMDLINE_RecordError(app, message);

    // With -exit on the command line nobody is there to act on a question: a plain notice.
    bool plain =
        CMDLINE_IsExitRequested(app) && code != 211 && code != 212 && code != 214 && code != 231;
    int kind = plain ? 2 : 1;
    app.ui.ErrorReported(code, message, kind);
    if (app.mainWindow)
        app.mainWindow->OnErrorMessage(code, kind, message);
    else
        app.ui.MessageBox(message, "Vantrel", MsgButtons::Ok, MsgIcon::Warning, MsgAnswer::Ok);
}

} // namespace vantrel
