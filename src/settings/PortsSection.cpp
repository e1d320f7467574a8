#include "settings/PortsSection.h"

#include "base/Reporter.h"
#include "settings/Ini.h"
#include "settings/SettingsFile.h"

namespace vantrel {

std::optional<std::string> PortDevicePath(SettingsFile& settings, int comNumber) {
    if (comNumber < 1 || comNumber > kMaxComPort) return std::nullopt;
    std::string key = "COM" + std::to_string(comNumber);
    std::string path;
    switch (ReadKeyText(settings, kPortsSection, key.c_str(), path, 259)) {
    case KeyText::Found:
        if (!path.empty()) return path;
        break;
    case KeyText::Missing:
        return std::nullopt;
    case KeyText::Malformed:
        break;
    }
    settings.reporter.Report(
        0, "Settings file [" + INI_SettingsPath(settings) + "], section [Ports]:\r\n" + key +
               " needs a device path in double quotes, as in " + key + "=\"/dev/ttyUSB0\"");
    return std::nullopt;
}

} // namespace vantrel
