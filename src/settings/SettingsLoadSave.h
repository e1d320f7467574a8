#pragma once
// Reading every key of section "Settings" into plain values at start-up, and writing them at
// shutdown and when the Communication dialog is confirmed. Reading applies nothing: the
// application applies the values (the command line's -com, -seldevice, -setIfSync and
// -setIfSpeed win over the file) through the device selection's checking setters.
#include <optional>

#include "settings/ProgramOptions.h"
#include "settings/StoredSelection.h"

namespace vantrel {

struct SettingsFile;

inline constexpr int kSettingsVersion = 20024;

struct StoredSettings {
    // The option keys; `comPort` is ComPort as read (corrected when applied) or the port in use,
    // `baudRate` is no key (reading sets the serial line's only rate).
    ProgramOptions options;
    // The device keys. Reading always fills them; a write without them leaves them in the file as
    // they are.
    std::optional<StoredSelection> selection;
};

// Reads every key in the fixed order, with the defaults of missing keys; a malformed value is
// reported by the reader and gives the default.
StoredSettings ReadSettings(SettingsFile& settings);
// Writes every key into the text in the fixed order, then rewrites the file once; a failure is
// shown once.
void WriteSettings(SettingsFile& settings, const StoredSettings& stored);

} // namespace vantrel
