#pragma once
// Where the settings file lives: "vantrel.ini" (or "vantrel3.ini" for settings index 3) beside
// the executable when a file can be created there, else in $XDG_CONFIG_HOME/KORVID/
// (~/.config/KORVID/ when the variable is not set), which is created if missing. Both programs
// use the base name "vantrel", so they share their settings.
#include <cstddef>
#include <string>

namespace vantrel {

inline constexpr const char* kSettingsBaseName = "vantrel";
// Paths of the settings file hold at most 259 characters; a longer one is not used (its
// reads and writes fail as a bad file name).
inline constexpr std::size_t kSettingsPathSize = 260;

// True when a file can be created in `directory`: a temporary file "KOR..." is created there
// and removed again.
bool CanCreateFileIn(const std::string& directory);

// The per-user folder: $XDG_CONFIG_HOME/KORVID/, else $HOME/.config/KORVID/ (the password
// database's home when HOME is not set). Created if missing (an existing one is no error).
std::string UserSettingsDirectory();

// The full path: `programDirectory` (with its trailing '/') when a file can be created there,
// else UserSettingsDirectory(); then the base name, `index` when it is not 0, and ".ini".
std::string SettingsPathFor(const std::string& programDirectory, int index);

} // namespace vantrel
