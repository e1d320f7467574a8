#pragma once
// The control facade of the programmer link: how the main thread starts and stops it, tells it
// about the selected target and reads what the status bar shows. The link thread alone owns
// the ports, the frames and the protocol engine; the main thread reaches them only through
// these calls and the protocol manager's shared state (App::pm).
#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

struct App;

// The programs' link runs on this machine's terminal devices, found under "/" or under the
// folder VANTREL_DEVICE_ROOT names (a fake device tree for the tests).
void LINK_UseSystemPorts(App& app);

// Opens the configured port (every mapped one of COM1..COM20 for AUTO) and starts the link
// thread; null, or the text of error 218, which has been reported. A second start does nothing,
// and so does a start in an App without a way to open ports (see LINK_UseSystemPorts).
std::optional<std::string> LINK_Start(App& app);
// Stops the link thread and closes every port (also at shutdown).
void LINK_Stop(App& app);
// Hands the link a fresh copy of what it needs of the selected device and the options. Called
// before the link is asked for anything, and from every wait of the main thread.
void LINK_PublishTarget(App& app);

// What the status bar shows of the link.
struct LinkView {
    bool running = false;
    bool anyPortOpen = false;
    int activePort = -1; // 0-based; -1 while the programmer has not answered
    uint32_t receiveRate = 0;
    uint32_t transmitRate = 0;
};
LinkView LINK_View(const App& app);

} // namespace vantrel
