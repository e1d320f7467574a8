// A device list CSV file with arbitrary text: read into a table, exported and read again.
#include <cstdint>
#include <string>

#include "device/DeviceCsv.h"
#include "device/DeviceHtml.h"
#include "support/FakeUi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    std::string text(reinterpret_cast<const char*>(data), size);
    test::FakeUi ui;
    DeviceTable table;
    ReadDeviceCsvText(ui, table, text.c_str());
    std::string csv = BuildDeviceCsv(table, BankRange{}); // no additional range
    DeviceTable back;
    ReadDeviceCsvText(ui, back, csv.c_str());
    BuildDeviceHtml(back, HtmlList::Flash);
    BuildDeviceHtml(back, HtmlList::ST7);
    return 0;
}
