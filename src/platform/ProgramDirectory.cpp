#include "platform/ProgramDirectory.h"

#include <unistd.h>

namespace vantrel {

std::string ProgramDirectoryFromPath(const std::string& exePath) {
    std::string path = exePath.substr(0, kProgramPathBuffer - 1);
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return path.substr(0, slash + 1);
}

std::string ProgramDirectory() {
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    return ProgramDirectoryFromPath(std::string(buffer, static_cast<std::size_t>(n)));
}

} // namespace vantrel
