#pragma once
// The document's commands: Open, Merge, Reload, Save, Save As, Delete Range and Relocate
// (and, registered with them, the passcode commands of commands/PasscodeCommands.h),
// from the menu (with their dialogs, through the Ui) and from batch mode (with the
// parameters of -openfile, -merge, -saveas, -delrange and -relocate).
#include <cstdint>
#include <string>

#include "base/CommandIds.h"
#include "base/ParamReader.h"
#include "image/LoadSeams.h"

namespace vantrel {

struct App;

// Makes the main window run these commands (call once the main window exists).
void RegisterDocumentCommands(App& app);

void OnFileOpen(App& app);
void OnFileMerge(App& app, ParamReader* param = nullptr);
void OnFileReload(App& app);
void OnFileSave(App& app);
void OnFileSaveAs(App& app, ParamReader* param = nullptr);
void OnEditDeleteRange(App& app, ParamReader* param = nullptr);
void OnEditRelocate(App& app);
// -relocate: batch mode runs it itself.
void RelocateFromCommandLine(App& app, ParamReader& param);

// The menu items that need a loaded image (Merge, Reload, Relocate, Delete Range, and the
// passcode commands, which also need a device that takes a passcode).
bool DocumentCommandEnabled(const App& app, int command);

// Opening as the document framework does: clear the image, read the file (binary when the
// filter index is 2), clear the modified flag. False when the file could not be opened (the
// image is then unchanged) or read (the image is then empty).
bool OpenDocumentFile(App& app, const std::string& path);
// Makes `path` (made a full path) the document's file and the window's title; `listed` puts it
// at the top of the recent-file list.
void SetDocumentPath(App& app, const std::string& path, bool listed);
// Storing in the document's file type. False when nothing was written; an existing file of
// that name is then left as it was.
bool SaveDocumentFile(App& app, const std::string& path, ParamReader* param = nullptr);

// What the program file readers need of the application: the error path, the Ui, whether a
// batch runs, and the overlap question as error 231 that the main window answers.
LoadSeams ProgramFileLoadSeams(App& app);

// The type -saveas writes for a name: "hex" 2, "mot" 1, "bin" 3 (any case) when the name
// ends in "." and those three letters; 0 for anything else.
uint32_t FileTypeForSaveAsName(const std::string& name);

} // namespace vantrel
