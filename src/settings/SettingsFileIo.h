#pragma once
// Reading the settings file whole and writing it whole. Each returns the message to show on
// failure ("Could not open file [path]\n..." / "Could not save file [path]\n...") or an empty
// text on success.
//
// A rewrite goes through SafeFileWriter (platform/SafeFileWriter.h): a new file beside the old
// one, flushed to the disk and renamed over it, so a rewrite stopped half-way leaves no cut or
// empty file behind (except where the file has to be written in place, see there). A symbolic
// link is followed, and a file without any write permission bit is read-only and is not
// replaced, although the directory would allow it. The folder of the file is made (with every
// missing parent) when it is not there. Anything but a regular file is neither read nor
// written.
#include <string>

#include "platform/SafeFileWriter.h"

namespace vantrel {

enum class ReadOutcome { Read, Missing, Failed };

struct ReadResult {
    ReadOutcome outcome = ReadOutcome::Missing;
    std::string text;    // the file's bytes when read
    std::string message; // when failed
};

// A missing file is no error (Missing, no message). `limit`: a file with more bytes than that
// is not read (Failed, with a message that says so).
ReadResult ReadSettingsFile(const std::string& path, std::size_t limit);

// `checks`: see SafeWriteChecks.
std::string RewriteSettingsFile(const std::string& path, const std::string& text,
                                const SafeWriteChecks& checks = {});

// The message endings for the system's error numbers, as shown after "Could not open file
// [path]\n" (`saving` false) or "Could not save file [path]\n" (`saving` true).
std::string FileErrorEnding(int error, const std::string& path, bool saving);

} // namespace vantrel
