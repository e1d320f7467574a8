#include "app/LinkControl.h"

#include <cstdlib>

#include "app/App.h"
#include "app/LinkRuntime.h"
#include "base/CommandIds.h"
#include "link/LinkTarget.h"
#include "link/PortMap.h"
#include "platform/TermiosSerialPort.h"

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

// The map of COM numbers taken when the link starts.
std::optional<std::string> ComPortPath(const ComPortMap& ports, int comNumber) {
    if (comNumber < 1 || comNumber > kMaxComPort) return std::nullopt;
    const std::string& path = ports[static_cast<std::size_t>(comNumber - 1)].path;
    if (path.empty()) return std::nullopt;
    return path;
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
                             [this](int comNumber) { return ComPortPath(ports, comNumber); }}) {}

void LINK_UseSystemPorts(App& app) {
    app.makeSerialPort = [] { return std::make_unique<TermiosSerialPort>(); };
    const char* root = std::getenv("VANTREL_DEVICE_ROOT");
    app.deviceRoot = root && *root ? root : "/";
}

std::optional<std::string> LINK_Start(App& app) {
    LINK_PublishTarget(app);
    if (!app.makeSerialPort) return std::nullopt;
    if (!app.link) app.link = std::make_unique<LinkRuntime>(app);
    if (!app.link->serial.IsRunning()) app.link->ports = MapComPorts(app.settings, app.deviceRoot);
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
