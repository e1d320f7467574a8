#pragma once
// The settings file as the program uses it: its state, and what its operations need of the
// program around it (the program directory, where the file is looked for first; the reporting
// seam for its messages; the Ui for the memory message; how a save finds out whether a new file
// can be made beside the old one). One instance in the program; the references are read at
// each operation, so the owner may fill them in after constructing it.
#include <string>

#include "settings/SettingsState.h"

namespace vantrel {

class Reporter;
class Ui;
struct SafeWriteChecks;

struct SettingsFile {
    SettingsFile(const std::string& programDirectory_, Reporter& reporter_, Ui& ui_,
                 const SafeWriteChecks& writeChecks_)
        : programDirectory(programDirectory_), reporter(reporter_), ui(ui_),
          writeChecks(writeChecks_) {}
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    const std::string& programDirectory; // with a trailing '/'
    Reporter& reporter;
    Ui& ui;
    const SafeWriteChecks& writeChecks;
    SettingsState state;
};

} // namespace vantrel
