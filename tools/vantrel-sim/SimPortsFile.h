#pragma once
// Names the emulator's pseudo-terminal in the settings file, so that the PC program finds it
// as COMn: the line COMn="/dev/pts/X" in section [Ports]. Every other line stays as it was.
#include <string>

namespace vantrel::sim {

// The settings text with the entry set: an existing COMn line of [Ports] is replaced, else the
// line goes at the end of the section, else a [Ports] section is added at the end. New lines
// take the line end the text already uses (CR LF for a new text).
std::string SetPortEntry(const std::string& text, int com, const std::string& path);

// Reads the file (a missing one counts as empty), sets the entry and writes the file whole
// through a new file that replaces it. Returns an error text, or empty on success.
std::string WritePortEntry(const std::string& file, int com, const std::string& path);

} // namespace vantrel::sim
