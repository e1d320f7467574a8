#include "commands/DeviceCommands.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "app/App.h"
#include "app/Batch.h"
#include "app/CmdLine.h"
#include "base/Codes.h"
#include "base/TextScanner.h"
#include "base/UtilSnprintf.h"
#include "device/DeviceCodes.h"
#include "device/DeviceCsv.h"
#include "device/DeviceFile.h"
#include "device/DeviceHtml.h"

namespace vantrel {
namespace {

bool ReadSeparator(App& app, ParamReader& param) {
    if (CMDLINE_GetChar(param) == ',') return true;
    APP_ReportError(app, 213, "Separator has to be ,");
    return false;
}

// A bank number of -selbanks: decimal digits only.
bool BankNumber(const std::string& text, int32_t& number) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    number = std::stoi(text);
    return true;
}

} // namespace

void DEVICE_LoadDatabase(App& app) {
    ReadDeviceCsv(app.ui, app.devices, app.programDirectory);
    // Start-up goes on without device files. When no device could be read at all (the Device
    // folder is missing, renamed or empty), say where they were looked for: otherwise the user
    // sees only "unknown device" for a name that is spelt right.
    std::optional<std::string> missing = LoadDeviceFiles(app.ui, app.devices, app.programDirectory);
    if (missing && DeviceCount(app.devices) == 0) APP_ReportError(app, 0, *missing);
}

void RegisterDeviceCommands(App& app) {
    app.commands.SetPlain(cmd::kExportCsv, [&app] {
        ExportDeviceCsv(app.ui, app.devices, app.selection.additional,
                        ExportDirectory() + "/FlashDevices.csv");
    });
    app.commands.SetPlain(cmd::kExportHtml,
                          [&app] { ExportDeviceHtml(app.ui, app.devices, ExportDirectory()); });
    // Options of the command line that change the device selection. Without a parameter
    // (from a menu) they do nothing: their menu items open dialogs.
    auto batchOnly = [&app](int command, void (*run)(App&, ParamReader&)) {
        app.commands.Set(command, [&app, run](ParamReader* param) {
            if (param) run(app, *param);
        });
    };
    batchOnly(cmd::kPassword, DEVICE_BatchPassword);
    batchOnly(cmd::kSetArea, DEVICE_BatchSetArea);
    batchOnly(cmd::kSelBanks, DEVICE_BatchSelBanks);
    batchOnly(cmd::kSelMultiple, DEVICE_BatchSelMultiple);
    batchOnly(cmd::kSetFill, DEVICE_BatchSetFill);
    batchOnly(cmd::kSetIfASync, DEVICE_BatchSetIfASync);
}

std::string ExportDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return ".";
}

void DEVICE_BatchPassword(App& app, ParamReader& param) {
    int32_t length = CMDLINE_GetHexValue(param);
    if (CMDLINE_HasParseError(param)) return;
    int n = length & 0xFF;
    if (n >= 16) {
        APP_ReportError(
            app, 211, UTIL_format("Invalid passcode length,\r\nA maximun of %d is allowed", {15}));
        return;
    }
    if (!ReadSeparator(app, param)) return;
    std::array<uint8_t, kMaxPasscode> bytes{};
    for (int i = 0; i < n; ++i) {
        if (i > 0 && !ReadSeparator(app, param)) return;
        int32_t value = CMDLINE_GetHexValue(param);
        if (CMDLINE_HasParseError(param)) return;
        bytes[static_cast<std::size_t>(i)] = static_cast<uint8_t>(value);
    }
    const DeviceRecord* device = app.selection.SelectedDevice();
    int minimum = device ? device->idLenMin : 0;
    int maximum = device ? device->idLenMax : 0;
    if (n < minimum || n > maximum) {
        APP_ReportError(app, 211,
                        UTIL_format("Invalid passcode length: %d,\r\nMinimum length is "
                                    "%d,\r\nMaximum lenght is %d !",
                                    {n, minimum, maximum}));
        return;
    }
    app.selection.passcodeLength = static_cast<uint8_t>(n);
    app.selection.passcode = bytes;
}

void DEVICE_BatchSetArea(App& app, ParamReader& param) {
    int32_t start = CMDLINE_GetHexValue(param);
    if (CMDLINE_HasParseError(param)) return;
    if (!ReadSeparator(app, param)) return;
    int32_t length = CMDLINE_GetHexValue(param);
    if (CMDLINE_HasParseError(param)) return;
    app.selection.SetExternalArea(static_cast<uint32_t>(start), static_cast<uint32_t>(length));
}

void DEVICE_BatchSelBanks(App& app, ParamReader& param) {
    int32_t start = 0, end = 0;
    std::string first = CMDLINE_GetString(param, 2);
    bool ok = !CMDLINE_HasParseError(param) && BankNumber(first, start);
    ok = ok && CMDLINE_GetChar(param) == ',';
    if (ok) {
        std::string second = CMDLINE_GetString(param, 2);
        ok = !CMDLINE_HasParseError(param) && BankNumber(second, end);
    }
    if (!ok) {
        APP_ReportError(app, 212, "-selbanks needs 2 parameter separated by comma");
        return;
    }
    app.selection.bankSelectMode = false;
    int replaced = app.selection.SetStartBank(start);
    replaced |= app.selection.SetEndBank(end);
    app.ui.Repaint();
    if (replaced == 0) WaitLinkReady(app);
}

void DEVICE_BatchSelMultiple(App& app, ParamReader& param) {
    std::array<bool, kBankFlags> flags{};
    int count = 0, lowest = kBankFlags, highest = 0;
    const std::string text = CMDLINE_GetParam(param);
    const char* c = text.c_str();
    while (*c) {
        ScanError error;
        SkipComma(c);
        int32_t bank = 0;
        ReadDecimal(error, c, bank, 0, kBankFlags - 1);
        // A minus sign would name a bank below 0: refused like any number below the minimum.
        if (!error.Failed() && bank < 0) error.Set("Expected a value >= 0");
        if (error.Failed()) {
            APP_ReportError(app, 211,
                            error.Text() + "\r\nParameter error\r\nduring execution of\r\n "
                                           "-selmultiple");
            return;
        }
        flags[static_cast<std::size_t>(bank)] = true;
        ++count;
        lowest = std::min(lowest, bank);
        highest = std::max(highest, bank);
    }
    const DeviceRecord* device = app.selection.SelectedDevice();
    int banks = device ? BankCount(*device) : 0;
    if (count > banks || highest > banks - 1) {
        APP_ReportError(app, 211,
                        "Error during execution of\r\n-selmultiple\r\nToo many banks set "
                        "or\n\rlast bank number too large!");
        return;
    }
    app.selection.bankSelectMode = true;
    app.selection.bankFlags = flags;
    app.selection.RebuildProgramRanges();
    WaitLinkReady(app);
}

void DEVICE_BatchSetFill(App& app, ParamReader& param) {
    int32_t value = CMDLINE_GetHexValue(param);
    if (CMDLINE_HasParseError(param)) {
        APP_ReportError(app, 212, "-setFILL needs 1 Hex parameter ");
        return;
    }
    if (app.selection.SetFillByte(value) == 0) WaitLinkReady(app);
}

// The asynchronous interface needs the S60A algorithm in the programmer's list of supported
// algorithms: the codes asked for (144) are algorithm codes, not serial interface codes.
void DEVICE_BatchSetIfASync(App& app, ParamReader& /*param*/) {
    if (PM_Status(app.pm).hardwareVersion == 0) WaitLinkReady(app);
    ProgrammerStatus status = PM_Status(app.pm);
    const DeviceRecord* device = app.selection.SelectedDevice();
    bool offersS60A =
        std::find(status.supportedAlgorithms.begin(), status.supportedAlgorithms.end(),
                  kAlgoS60A) != status.supportedAlgorithms.end();
    bool async = false;
    if (device && offersS60A) {
        async = (device->algoS == kAlgoS60A && device->sifType == kSifS60A) ||
                (device->algoS == kAlgoS60 && device->sifType == kSifS60 &&
                 EffectiveHardwareVersion(status) >= 600);
    }
    app.selection.SetInterface(async ? 2 : 1);
}

} // namespace vantrel
