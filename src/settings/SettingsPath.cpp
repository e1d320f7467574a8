#include "settings/SettingsPath.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace vantrel {

bool CanCreateFileIn(const std::string& directory) {
    if (directory.empty()) return false;
    std::string name = directory;
    if (name.back() != '/') name += '/';
    name += "KORXXXXXX";
    int fd = mkstemp(name.data());
    if (fd < 0) return false;
    close(fd);
    unlink(name.c_str());
    return true;
}

std::string UserSettingsDirectory() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            if (const passwd* pw = getpwuid(getuid())) home = pw->pw_dir;
        }
        base = std::string(home ? home : "") + "/.config";
    }
    if (base.back() != '/') base += '/';
    std::string directory = base + "KORVID/";
    std::error_code ec;
    std::filesystem::create_directories(directory, ec); // a failure shows at the first save
    return directory;
}

std::string SettingsPathFor(const std::string& programDirectory, int index) {
    std::string directory =
        CanCreateFileIn(programDirectory) ? programDirectory : UserSettingsDirectory();
    if (directory.back() != '/') directory += '/';
    std::string path = directory + kSettingsBaseName;
    if (index != 0) path += std::to_string(index);
    return path + ".ini";
}

} // namespace vantrel
