#pragma once
// Opening a file that must be a regular file (the settings file, the error file, the protocol
// log) so that the open never blocks: a FIFO would hold an open until a partner comes (for
// ever, with nobody there), and a device may do anything when it is opened. A path that names
// anything but a regular file is refused before it is opened, and again after the open (it may
// have been swapped in between), which itself does not block (O_NONBLOCK, cleared again once
// the file is known to be regular).
#include <sys/types.h>

#include <string>

namespace vantrel {

struct RegularFileOpen {
    int fd = -1;                // the open regular file, or -1
    int error = 0;              // errno of a failed open
    const char* kind = nullptr; // what the path names instead of a regular file ("a FIFO", ...)
};

// `flags` as for open(2); O_CLOEXEC, O_NONBLOCK and O_NOCTTY are added.
RegularFileOpen OpenRegularFile(const std::string& path, int flags, mode_t mode = 0644);

// What a file of this type is, for messages ("a directory", "a FIFO", "a device", "a socket");
// null for a regular file.
const char* NonRegularKind(mode_t mode);

// The message ending for such a file: "It is a FIFO, not a regular file!".
std::string NotRegularText(const char* kind);

// The whole notice: "Could not open file [full path]\n" and that ending.
std::string NotRegularNotice(const std::string& name, const char* kind);

} // namespace vantrel
