#pragma once
// The device database's part of start-up, of the command line and of the main window's
// commands: reading the database, -seldevice, the batch commands that change the device
// selection (-password, -setarea, -selbanks, -selmultiple, -setFILL, -setIfASync) with their
// messages, and the two device list exports.
#include <string>

#include "base/ParamReader.h"

namespace vantrel {

struct App;

// Reads Device/FlashDevices.csv, then the Device/*.dev files.
void DEVICE_LoadDatabase(App& app);
// Puts the device list exports and the command-line options that change the device selection
// into the command table.
void RegisterDeviceCommands(App& app);
// Where the exports are written: the user's home directory.
std::string ExportDirectory();

// Batch commands; each reads its parameter with the CMDLINE_ readers.
void DEVICE_BatchPassword(App& app, ParamReader& param);
void DEVICE_BatchSetArea(App& app, ParamReader& param);
void DEVICE_BatchSelBanks(App& app, ParamReader& param);
void DEVICE_BatchSelMultiple(App& app, ParamReader& param);
void DEVICE_BatchSetFill(App& app, ParamReader& param);
void DEVICE_BatchSetIfASync(App& app, ParamReader& param);

} // namespace vantrel
