#pragma once
// The device list as one CSV file: a header row, then one row per device with 31 fields in
// double quotes, each followed by `;`, lines ending with CR LF. `Device/FlashDevices.csv` is
// read at start-up before the description files; the export writes every device of the table.
// Reading never shows a message: a field that does not convert gives 0 or its bound.
#include <string>

#include "device/DeviceTable.h"

namespace vantrel {

struct App;
struct DeviceSelection;

// Adds every row of `text` (header row first) to the table.
void ReadDeviceCsvText(Ui& ui, DeviceTable& table, const char* text);
// Reads `path` whole; a missing or unreadable file adds nothing.
void ReadDeviceCsvFile(Ui& ui, DeviceTable& table, const std::string& path);
// The program directory's `Device/FlashDevices.csv`.
void ReadDeviceCsv(App& app);

// The whole export text. The selection's additional range, when its size is not 0, is one more
// flash bank at the end of every device's Bank column.
std::string BuildDeviceCsv(const DeviceTable& table, const DeviceSelection& selection);
// Writes the export to `path` and reports it in a message box titled "CSV export".
void ExportDeviceCsv(App& app, const std::string& path);

} // namespace vantrel
