#pragma once
// The device database's part of start-up, of the command line and of the main window's
// commands: reading the database, -seldevice, the batch commands that change the device
// selection (-password, -setarea, -selbanks, -selmultiple, -setFILL, -setIfASync) with their
// messages, and the two device list exports.
#include <string>

namespace vantrel {

struct App;

// Reads Device/FlashDevices.csv, then the Device/*.dev files, and registers the export commands.
void DEVICE_LoadDatabase(App& app);
// Where the exports are written: the user's home directory.
std::string ExportDirectory();

// -seldevice: selects the device by its exact name; the settings file's device then no longer
// applies.
void DEVICE_SelectFromCommandLine(App& app, const std::string& name);

// Batch commands; each reads its parameter with the CMDLINE_ readers.
void DEVICE_BatchPassword(App& app);
void DEVICE_BatchSetArea(App& app);
void DEVICE_BatchSelBanks(App& app);
void DEVICE_BatchSelMultiple(App& app);
void DEVICE_BatchSetFill(App& app);
void DEVICE_BatchSetIfASync(App& app);

} // namespace vantrel
