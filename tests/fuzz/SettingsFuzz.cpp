// The settings file with arbitrary contents: every key loaded, the [Ports] lookup, then writes
// that must leave on disk exactly the text held in memory, never more than its limit.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/App.h"
#include "app/SettingsApply.h"
#include "settings/Ini.h"
#include "settings/PortsSection.h"
#include "support/FakeClock.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    static test::TempDir scratch;
    std::string path = (scratch / "vantrel.ini").string();
    test::WriteFile(path, std::string(reinterpret_cast<const char*>(data), size));

    test::FakeUi ui;
    test::FakeClock clock;
    App app(ui, clock);
    app.programDirectory = scratch.Path().string() + "/";
    LoadSettings(app);
    for (int com = 1; com <= 3; ++com)
        PortDevicePath(app.settings, com);
    char device[256];
    INI_ReadString(app.settings, "Settings", "Device", device, sizeof device);
    INI_WriteString(app.settings, "Settings", "Device", "R5F100LE");
    INI_WriteInt(app.settings, "Ports", "ComPort", -7);
    SaveSettings(app);

    const SettingsText& text = app.settings.state.text;
    if (text.Length() > kSettingsTextMax) std::abort();
    if (!app.settings.state.keepFile && test::ReadFile(path) != text.Str()) std::abort();
    if (INI_ReadInt(app.settings, "Ports", "ComPort", 0) != -7 && ui.boxes.empty()) std::abort();
    return 0;
}
