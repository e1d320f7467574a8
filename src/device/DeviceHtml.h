#pragma once
// The device list as three HTML tables of supported microcontrollers: "FlashMCUs.html" (serial
// mode devices with a Yes/-- column per programmer model), "Vantrel5MCUs.html" (the same
// devices, columns 5R3 and 5NXT) and "FlashST7MCUs.html" (the ST7 devices). Each is a centred
// table fragment whose data rows stand between two marker comments.
#include <string>

#include "device/DeviceTable.h"

namespace vantrel {

class Ui;

enum class HtmlList { Flash, Vantrel5, ST7 };

// The text of one file, built from every device of the table.
std::string BuildDeviceHtml(const DeviceTable& table, HtmlList list);
// Writes the three files into `directory` and reports them in boxes titled "HTML export".
void ExportDeviceHtml(Ui& ui, const DeviceTable& table, const std::string& directory);

} // namespace vantrel
