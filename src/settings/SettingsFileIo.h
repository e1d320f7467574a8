#pragma once
// Reading the settings file whole and writing it whole. Each returns the message to show on
// failure ("Could not open file [path]\n..." / "Could not save file [path]\n...") or an empty
// text on success.
//
// A rewrite never leaves a truncated or empty file behind, whatever stops it (full disk,
// killed process, power loss): the text goes into "<file>.<pid>.tmp" beside the file, is
// flushed to the disk, and is then renamed over the old file. A file without any write
// permission bit is read-only and is not replaced, although the directory would allow it.
#include <string>

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

std::string RewriteSettingsFile(const std::string& path, const std::string& text);

// The message endings for the system's error numbers, as shown after "Could not open file
// [path]\n" (`saving` false) or "Could not save file [path]\n" (`saving` true).
std::string FileErrorEnding(int error, const std::string& path, bool saving);

} // namespace vantrel
