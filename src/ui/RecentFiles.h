#pragma once
// The recent-file list of the File menu: at most 10 full paths, the newest first, each once.
// Where it is kept (the per-user settings) is the front end's business.
#include <cstddef>
#include <string>
#include <vector>

namespace vantrel {

inline constexpr std::size_t kRecentFileCount = 10;

// `list` with `path` moved (or added) to the top and cut to 10 entries.
std::vector<std::string> WithRecentFile(std::vector<std::string> list, const std::string& path);
// `list` without `path` (a file that could not be opened any more).
std::vector<std::string> WithoutRecentFile(std::vector<std::string> list, const std::string& path);
// The menu text of entry `index` (0-based): "&1 /path"; an "&" in the path is shown as itself.
std::string RecentFileMenuText(std::size_t index, const std::string& path);

} // namespace vantrel
