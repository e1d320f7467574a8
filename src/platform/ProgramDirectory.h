#pragma once
#include <string>

namespace vantrel {

// Size of the buffer the executable's path is read into, terminator included. A longer path is
// cut inside it, so the directory derived from it is then wrong and the device and firmware
// files are not found (reported by their readers).
inline constexpr std::size_t kProgramPathBuffer = 255;

// The directory of the running executable with a trailing '/', derived from `exePath` as read
// into a buffer of kProgramPathBuffer characters. Empty when no '/' is left.
std::string ProgramDirectoryFromPath(const std::string& exePath);

// The directory of /proc/self/exe with a trailing '/'; empty when it cannot be read.
std::string ProgramDirectory();

} // namespace vantrel
