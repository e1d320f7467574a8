#include "app/LinkControl.h"

#include "app/App.h"
#include "app/LinkRuntime.h"
#include "base/CommandIds.h"
#include "link/LinkTarget.h"
#include "settings/PortsSection.h"

namespace vantrel {

namespace {

// The menu is the main thread's: the link thread only posts the change.
void PostDownloadMenu(App& app, bool shown) {
    app.mainQueue.Post([&app, shown] {
        if (shown)
            app.ui.InsertMenuItem(cmd::kDownload, "Download File to Vantrel",
                                  "Downloads Hex file to Vantrel.", cmd::kDevice);
        else
            app.ui.RemoveMenuItem(cmd::kDownload);
    });
}

std::optional<std::string> ComPortPath(App& app, int comNumber) {
    return PortDevicePath(app.settings, comNumber);
}

} // namespace

LinkRuntime::LinkRuntime(App& app)
    : engine(app.pm, *this,
             EngineSeams{app.clock, app.reporter, app.doc,
                         [&app](bool shown) { PostDownloadMenu(app, shown); },
                         [&app] { app.mainQueue.Post([&app] { app.ui.Repaint(); }); },
                         [&app](uint32_t serial) {
                             app.mainQueue.Post([&app, serial] {
                                 CMDLINE_SetSerialNumber(app, static_cast<int32_t>(serial));
                             });
                         }}),
      serial(SerialLinkSeams{app.clock, app.log, app.reporter, app.makeSerialPort,
                             [&app](int comNumber) { return ComPortPath(app, comNumber); }}) {}

std::optional<std::string> LINK_Start(App& app) {
    LINK_PublishTarget(app);
    if (!app.link) app.link = std::make_unique<LinkRuntime>(app);
    std::optional<std::string> result = app.link->serial.Start(app.options.comPort, *app.link);
    app.pm.SetPortOpen(app.link->serial.AnyPortOpen());
    return result;
}

void LINK_Stop(App& app) {
    if (!app.link) return;
    app.link->serial.Stop();
    app.pm.SetPortOpen(false);
}

void LINK_PublishTarget(App& app) {
    app.pm.SetTarget(MakeLinkTarget(app.selection, app.options));
}

LinkView LINK_View(const App& app) {
    LinkView view;
    if (!app.link) return view;
    const SerialLink& serial = app.link->serial;
    view.running = serial.IsRunning();
    view.anyPortOpen = serial.AnyPortOpen();
    view.activePort = serial.ActivePort();
    view.receiveRate = serial.ReceiveRate();
    view.transmitRate = serial.TransmitRate();
    return view;
}

} // namespace vantrel
