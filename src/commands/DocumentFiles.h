#pragma once
// The document as a whole file: the question before unsaved changes are lost, and opening a
// file named from outside the Open dialog (the recent-file list, a file dropped on the window).
#include <string>

namespace vantrel {

struct App;

// When the image holds changes that are not saved, asks "Save changes to %1?" (Yes/No/Cancel);
// Yes saves through Save (Save As when the document has no file yet). True when the caller may
// go on: nothing to save, No, or saved; false on Cancel and when the save did not happen.
bool SaveModified(App& app);

// Opens a file by name: a leading double quote is skipped and the name ends at the next one,
// at most 260 characters are kept, the name becomes a full path with links resolved, and the
// dialogs' type choice goes back to program files. Asks about unsaved changes first (a Cancel
// opens nothing and is no error). False, with error level 210, when the file could not be read.
bool OpenFileByName(App& app, const std::string& name);

} // namespace vantrel
