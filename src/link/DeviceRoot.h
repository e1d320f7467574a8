#pragma once
// Paths of devices and of the kernel's device attributes, looked up under a root directory: "/"
// on a running system, a fake tree in a temporary directory in the tests. Paths are named as
// the system names them ("/dev/ttyUSB0"); only the file system calls see the root.
#include <optional>
#include <string>

namespace vantrel {

// `path` (absolute) as a file under `root`.
std::string UnderRoot(const std::string& root, const std::string& path);

// `path` (absolute) with every symbolic link in it followed, each looked up under `root`: an
// absolute link target starts again at the root, and ".." never leaves it. A component that
// does not exist is kept as it stands. nullopt when links loop (more than 40 of them) or one
// cannot be read.
std::optional<std::string> ResolveUnderRoot(const std::string& path, const std::string& root);

} // namespace vantrel
