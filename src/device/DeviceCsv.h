#pragma once
// The device list as one CSV file: a header row, then one row per device with 31 fields in
// double quotes, each followed by `;`, lines ending with CR LF. `Device/FlashDevices.csv` is
// read at start-up before the description files; the export writes every device of the table.
// Reading never shows a message: a field that does not convert gives 0 or its bound.
#include <string>

#include "device/DeviceTable.h"

namespace vantrel {

// Adds every row of `text` (header row first) to the table.
void ReadDeviceCsvText(Ui& ui, DeviceTable& table, const char* text);
// Reads `path` whole; a missing or unreadable file adds nothing.
void ReadDeviceCsvFile(Ui& ui, DeviceTable& table, const std::string& path);
// `Device/FlashDevices.csv` of `programDirectory` (given with a trailing '/').
void ReadDeviceCsv(Ui& ui, DeviceTable& table, const std::string& programDirectory);

// The whole export text. The additional range of the device selection, when its size is not
// 0, is one more flash bank at the end of every device's Bank column.
std::string BuildDeviceCsv(const DeviceTable& table, const BankRange& additional);
// Writes the export to `path` and reports it in a message box titled "CSV export".
void ExportDeviceCsv(Ui& ui, const DeviceTable& table, const BankRange& additional,
                     const std::string& path);

} // namespace vantrel
