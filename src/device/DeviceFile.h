#pragma once
// Device description files: one text file per device, `Device/*.dev` below the program
// directory (the extension matched without regard to case), read once at start-up after the
// CSV list, so a file's device replaces a listed device of the same name. A line is a keyword,
// `=` and a value; a keyword written against a `/` makes the line a comment. The first error
// of a file abandons it with a message box naming the file and line; a file that lacks a
// required value is refused with "Missing parameter: ...".
#include <optional>
#include <string>

#include "device/DeviceRecord.h"
#include "device/DeviceTable.h"

namespace vantrel {

class Ui;

// At most this much of each file is read; a NUL byte also ends its text.
inline constexpr std::size_t kDeviceFileMaxText = 32767;

struct DeviceFileResult {
    std::optional<DeviceRecord> record; // set when the file was accepted
    std::string message;                // the error text otherwise
    std::string caption;                // the title of its message box
};

// Parses one file text without touching the table; `path` only serves the messages.
DeviceFileResult ParseDeviceText(const char* text, const std::string& path);

// Parses one file text, shows its error (no owner window) or adds its device to the table.
// Returns true when the device was added.
bool ParseDeviceFile(Ui& ui, DeviceTable& table, const char* text, const std::string& path);

// Reads every `*.dev` file of `directory` in the order the file system lists them. Returns
// nothing when at least one file matched, else "Can not find device file in directory %s".
std::optional<std::string> LoadDeviceFilesFrom(Ui& ui, DeviceTable& table,
                                               const std::string& directory);
// The same for `Device/` of `programDirectory` (given with a trailing '/').
std::optional<std::string> LoadDeviceFiles(Ui& ui, DeviceTable& table,
                                           const std::string& programDirectory);

} // namespace vantrel
