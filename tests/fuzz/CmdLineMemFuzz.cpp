// The command line from memory: arbitrary arguments (one per input line) through the parser
// into the batch queue, then the batch run to its end on a fake clock, with the sample device
// database read once and a small image in the document. Nothing touches the disk: there is no
// error file and no settings file, and the commands that read or write files (open, merge,
// save, the exports, the firmware download) only read their parameter here; the whole
// start-up with its files is the cmdline target's.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/App.h"
#include "app/Batch.h"
#include "base/CommandIds.h"
#include "commands/RegisterCommands.h"
#include "device/DeviceCsv.h"
#include "device/DeviceFile.h"
#include "support/FakeClock.h"
#include "support/FakeUi.h"
#include "ui/MainWindow.h"

namespace {

using namespace vantrel;

// Read once; each input borrows it (a move, not a copy of its records) and gives it back, as
// nothing after start-up changes the table.
DeviceTable& SampleDevices() {
    static DeviceTable table = [] {
        const std::string installation =
            std::filesystem::path(VANTREL_SAMPLE_DEVICES).parent_path().string() + "/";
        test::FakeUi ui;
        DeviceTable t;
        ReadDeviceCsv(ui, t, installation);
        LoadDeviceFiles(ui, t, installation);
        return t;
    }();
    return table;
}

std::vector<std::string> Arguments(const uint8_t* data, size_t size) {
    std::vector<std::string> args{"vantrel"};
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\n') {
            args.push_back(current);
            current.clear();
        } else if (c != '\0') {
            current += c;
        }
    }
    if (!current.empty()) args.push_back(current);
    return args;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> args = Arguments(data, size);
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());

    test::FakeUi ui;
    test::FakeClock clock;
    App app(ui, clock);
    app.programDirectory = "/nonexistent-vantrel-installation/";
    app.devices = std::move(SampleDevices());
    app.selection.SelectDeviceByName("NR16C62A");
    const uint8_t image[64] = {0x12, 0x34, 0x56};
    app.doc.AddData(0x100, sizeof image, image);

    CMDLINE_Init(app, "VANTREL", "", cmd::kExit,
                 [&app](int command, bool needsProgrammer, ParamReader& param) {
                     RunBatchCommand(app, command, needsProgrammer, param);
                 });
    app.mainWindow = std::make_unique<MainWindow>(app);
    RegisterCommands(app);
    for (int command : {cmd::kOpenFile, cmd::kReload, cmd::kMerge, cmd::kSaveAs, cmd::kFileSave,
                        cmd::kExportCsv, cmd::kExportHtml, cmd::kDownloadFirmware})
        app.commands.Set(command, [](ParamReader* param) {
            if (param) param->GetString(kParamSize);
        });

    CMDLINE_ParseArguments(app, static_cast<int>(argv.size()), argv.data());
    if (app.cmdline.count > kBatchQueueSize) std::abort();
    if (!CMDLINE_IsExitRequested(app) && app.cmdline.count < kBatchQueueSize)
        CMDLINE_ParseOption(app, "exit");
    for (int tick = 0; tick < 2000 && !ui.quit && CMDLINE_IsBatchRunning(app); ++tick) {
        clock.now += kTimerPeriodMs;
        app.mainWindow->OnTimer();
    }
    if (app.cmdline.lastErrorText.size() >= kMessageSize) std::abort();
    SampleDevices() = std::move(app.devices);
    return 0;
}
