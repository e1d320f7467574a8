#pragma once
// The machine-readable event stream of vantrel-cli --json: one JSON object per line. The
// program's texts are 8-bit Latin-1; they are written as UTF-8, so every byte stays valid.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Ui.h"

namespace vantrel {

// Each byte as the Latin-1 character it stands for, in UTF-8.
std::string Latin1ToUtf8(const std::string& text);

struct RunStartInfo {
    std::string version;
    std::optional<std::string> port;     // "COM1"; none when not known yet (port search)
    std::optional<std::string> portPath; // the device the COM number stands for
    std::optional<std::string> device;   // the selected device; none when none is valid
};

// Each returns one line without its line end.
std::string JsonRunStart(const RunStartInfo& info);
std::string JsonOperation(const OperationEvent& event);
std::string JsonProgress(const std::string& caption, int percent, uint32_t totalBytes);
// `kind`: 1 an error, 2 a notice.
std::string JsonError(int32_t code, const std::string& text, int kind);
// A message box that no error event stands for (a question, a notice, a complaint of the
// command line).
std::string JsonMessage(const std::string& caption, const std::string& text, MsgIcon icon);
std::string JsonRunEnd(int exitCode);

} // namespace vantrel
