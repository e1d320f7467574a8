#pragma once
// The type lists of the program file dialogs and the save dialog's name rule. Open and Merge
// share one filter index with Save As: index 2 of the open list reads a file as binary.
#include <string>
#include <vector>

#include "platform/Ui.h"

namespace vantrel {

inline constexpr const char* kOpenDialogTitle = "Open target program file";
inline constexpr const char* kSaveDialogTitle = "Save program file";

const std::vector<FileFilter>& OpenFileFilters();
const std::vector<FileFilter>& SaveFileFilters();

// The save dialog's name for a chosen type: the file name is cut at its first "." and the
// type's extension appended ("prog.old.hex" with "*.bin" gives "prog.bin"). Only the name
// after the last "/" is cut, so a "." in a directory name stays.
std::string NameForSaveFilter(const std::string& name, int filterIndex);

} // namespace vantrel
