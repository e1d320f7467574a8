#pragma once
// The [Ports] section of the settings file names the device path of a COM number:
//
//   [Ports]
//   COM3="/dev/ttyUSB0"
//
// The serial layer asks it before it falls back to the list of USB serial adapters.
#include <optional>
#include <string>

namespace vantrel {

struct SettingsFile;

inline constexpr const char* kPortsSection = "Ports";
inline constexpr int kMaxComPort = 20;

// The device path of key "COMn" in section "Ports"; nullopt when `comNumber` is not 1 to 20 or
// the key is missing. A key whose value is not a quoted path is reported with a message that
// shows the expected form, and gives nullopt.
std::optional<std::string> PortDevicePath(SettingsFile& settings, int comNumber);

} // namespace vantrel
