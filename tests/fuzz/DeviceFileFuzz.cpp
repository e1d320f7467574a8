// A device description file with arbitrary text: parsed, and when accepted, added to a table
// and read back through the selection and the CSV export.
#include <cstdint>
#include <string>

#include "base/Reporter.h"
#include "device/DeviceCsv.h"
#include "device/DeviceFile.h"
#include "device/DeviceSelection.h"
#include "device/ImageView.h"
#include "support/FakeUi.h"

namespace {

struct QuietReporter : vantrel::Reporter {
    using Reporter::Report;
    void Report(int32_t, const char*) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    // As the directory scan reads it: at most 32767 bytes, a NUL ends the text.
    std::string text(reinterpret_cast<const char*>(data), size < 32767 ? size : 32767);
    test::FakeUi ui;
    DeviceTable table;
    ParseDeviceFile(ui, table, text.c_str(), "/fuzz/input.dev");
    QuietReporter reporter;
    DeviceSelection selection(table, reporter);
    selection.SetExternalArea(0x100000, 0x10);
    selection.SelectDevice(0);
    selection.SelectAllBanks();
    selection.protectedFlags.fill(true);
    for (int i = 0; i < kProtectedFlags + 1; ++i)
        selection.SortedProtectedAddress(i);
    selection.SelectedBanksSize();
    selection.IdLengthValue(ImageView());
    selection.IdData();
    selection.BlankSum();
    std::string csv = BuildDeviceCsv(table, selection.additional);
    DeviceTable back;
    ReadDeviceCsvText(ui, back, csv.c_str());
    return 0;
}
