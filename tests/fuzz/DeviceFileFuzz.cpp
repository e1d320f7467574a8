// A device description file with arbitrary text: parsed, and when accepted, added to a table
// and read back through the selection and the CSV export.
#include <cstdint>
#include <string>

#include "device/DeviceCsv.h"
#include "device/DeviceFile.h"
#include "device/DeviceSelection.h"
#include "support/FakeUi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    // As the directory scan reads it: at most 32767 bytes, a NUL ends the text.
    std::string text(reinterpret_cast<const char*>(data), size < 32767 ? size : 32767);
    test::FakeUi ui;
    DeviceTable table;
    ParseDeviceFile(ui, table, text.c_str(), "/fuzz/input.dev");
    DeviceSelection selection;
    selection.additional = {0x100000, 0x10};
    std::string csv = BuildDeviceCsv(table, selection);
    DeviceTable back;
    ReadDeviceCsvText(ui, back, csv.c_str());
    return 0;
}
