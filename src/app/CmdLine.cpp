#include "app/CmdLine.h"

#include <cstring>
#include <limits>

#include "app/App.h"
#include "base/TextScanner.h"
#include "base/UtilSnprintf.h"
#include "settings/Ini.h"

namespace vantrel {
namespace {

using enum AtOnce;

constexpr CmdLineOption kOptions[] = {
    {"checkblank", cmd::kCheckBlank, None, true, "\tChecks if target is blank"},
    {"clearDNVBP", cmd::kClearDNVBP, None, false, "\tClears option 'Do not verify blank pages'."},
    {"clearDE", cmd::kClearDE, None, false, "\t\tClears option 'Detailed errorlevel on return'."},
    {"clearACBP", cmd::kClearACBP, None, false,
     "\tClears option 'Automatic clear before program'."},
    {"clearACRP", cmd::kClearACRP, None, false,
     "\tClears option 'Automatically clear readout protection'."},
    {"clearchip", cmd::kClearChip, None, true, "\t\tClear entire target chip"},
    {"clearCOD", cmd::kClearCOD, None, false, "\tClears option 'Clear on demand'."},
    {"clearall", cmd::kClearAll, None, true, "\t\tProgram all zeros, then clear target chip"},
    {"clear", cmd::kClear, None, true, "\t\tClear selected target area"},
    {"com", 0, Com, false, "\t\t<PORT> Set COM-port of PC (PORT=1-20: Portno.)", true},
    {"delrange", cmd::kDelRange, None, false, "\t\t<FROM-TO> Deletes the specified range of data",
     true},
    {"download", cmd::kDownload, None, true, "\tDownloads Hex file to Vantrel."},
    {"exit", cmd::kExit, None, false, "\t\tTerminate PC-program automatically"},
    {"help", 0, None, false, "\t\tDisplay this box"},
    {"index", 0, Index, false, "\t\t<n> Selects individual settings during startup.", true},
    {"merge", cmd::kMerge, None, false, "\t\t<FILE.EXT> Merges specified file", true},
    {"openfile", cmd::kOpenFile, None, false, "\t\topen HEX file <FILE.EXT>", true},
    {"programverify", cmd::kProgramVerify, None, true, "\tPrograms & verifies target"},
    {"program", cmd::kProgram, None, true, "\t\tProgram loaded data into target"},
    {"readback", cmd::kReadBack, None, true, "\tRead target area"},
    {"saveas", cmd::kSaveAs, None, false,
     "\t\t<FILE.EXT>[,FROM-TO] Save file in MOT-, HEX- or BIN-format", true},
    {"start", cmd::kStart, None, true,
     "\t\tStart application program (serial mode only, req. Vantrel 3 or later"},
    {"relocate", cmd::kRelocate, None, false, "\t\t<VALUE> Relocates loaded data", true},
    {"selmultiple", cmd::kSelMultiple, None, true,
     "\t<BANK1,BANK2,..BANKn> Selects individual banks", true},
    {"seldevice", 0, SelDevice, false, "\t<DEVICENAME> Selects the desired device", true},
    {"selbanks", cmd::kSelBanks, None, true,
     "\t\t<NSTART,NEND> Sets the numbers of start & end bank", true},
    {"setarea", cmd::kSetArea, None, true,
     "\t\t<ADDRESS,LENGTH> Sets the external area (Needs special Vantrel!)", true},
    {"setFILL", cmd::kSetFill, None, true, "\t\t<HEX> Sets the fill byte.", true},
    {"password", cmd::kPassword, None, false, "\t<LENGTHn,ID1,ID2,ID3,...,IDn> Sets the ID-bytes.",
     true},
    {"setACBP", cmd::kSetACBP, None, false, "\t\tSets option 'Automatic clear before program'."},
    {"setACRP", cmd::kSetACRP, None, false,
     "\t\tSets option 'Automatically clear readout protection'."},
    {"setCOD", cmd::kSetCOD, None, false, "\t\tSets option 'Clear on demand'."},
    {"setDE", cmd::kSetDE, None, false, "\t\tSets option 'Detailed errorlevel on return'."},
    {"setDNVBP", cmd::kSetDNVBP, None, false, "\tSets option 'Do not verify blank pages'."},
    {"setIfSpeed", 0, SetIfSpeed, false, "\tSets the target interface speed.", true},
    {"setIfASync", cmd::kSetIfASync, None, true,
     "\tSets the target interface to asynchronous mode."},
    {"setIfSync", 0, SetIfSync, false, "\tSets the target interface to synchronous mode."},
    {"verify", cmd::kVerify, None, true, "\t\tVerify loaded data with target"},
    {"?", 0, None, false, "\t\tDisplay this box"},
};
static_assert(std::size(kOptions) == 39);

bool MatchesOption(const std::string& word, const char* name) {
    std::size_t n = std::strlen(name);
    return word.size() >= n && strncasecmp(word.c_str(), name, n) == 0;
}

int SpeedIndexByName(const std::string& name) {
    static const char* const kNames[] = {"500000Baud", "250000Baud", "125000Baud", "55555Baud",
                                         "38400Baud",  "19200Baud",  "9600Baud"};
    static const char* const kWords[] = {"Fast", "Medium", "Slow", "VerySlow"};
    for (int i = 0; i < 7; ++i)
        if (strcasecmp(name.c_str(), kNames[i]) == 0) return i;
    for (int i = 0; i < 4; ++i)
        if (strcasecmp(name.c_str(), kWords[i]) == 0) return i;
    return -1;
}

void RunCom(App& app, const std::string& param) {
    ScanError error;
    const char* cursor = param.c_str();
    int32_t port = 0;
    ReadDecimal(error, cursor, port, 1, 20);
    // The bounds are checked before the sign is applied: a negative number is refused here,
    // as 0 is, instead of being taken as a port.
    if (!error.Failed() && port < 1) error.Set(UTIL_format("Expected a value >= %d", {1}));
    if (error.Failed()) {
        APP_ReportError(app, 211,
                        error.Text() + "\r\nParameter error\r\nInvalid COM port setting\r\n -com");
        return;
    }
    app.overrides.comPort = port;
    app.options.comPort = port;
}

// "/" opens an option as "-" does, but on this system it also opens every absolute path: an
// argument beginning with "/" is an option only when an option name follows and no further
// "/" does, so /com3 and /exit are options while /programs/blink.hex is a path.
bool IsOptionArgument(const char* arg) {
    if (!arg) return false;
    if (arg[0] == '-') return true;
    return arg[0] == '/' && !std::strchr(arg + 1, '/') && CMDLINE_FindOption(arg + 1);
}

void RunIndex(App& app, const std::string& param) {
    // Digits 1 to 8 only; a number too large for the settings name is refused the same way.
    long long number = 0;
    bool valid = true;
    for (char c : param) {
        if (c < '1' || c > '8')
            valid = false;
        else
            number = number * 10 + (c - '0');
        if (number > std::numeric_limits<int32_t>::max()) valid = false;
        if (!valid) break;
    }
    if (!valid) {
        APP_ReportError(app, 211, "Invalid index parameter, expecting a positiv number!");
        return;
    }
    app.overrides.settingsIndex = static_cast<int>(number);
    INI_SetIndex(app.settings, app.overrides.settingsIndex);
}

// -seldevice: only a device that exists counts as chosen; after a misspelt name the settings
// file's device still applies (the misspelling has been reported).
void RunSelDevice(App& app, const std::string& name) {
    if (app.selection.SelectDeviceByName(name) == 0) app.overrides.deviceChosen = true;
    if (app.mainWindow) app.ui.Repaint();
}

void RunAtOnce(App& app, AtOnce what, const std::string& param) {
    switch (what) {
    case Com:
        RunCom(app, param);
        break;
    case Index:
        RunIndex(app, param);
        break;
    case SelDevice:
        RunSelDevice(app, param);
        break;
    case SetIfSpeed:
        app.overrides.speedIndex = SpeedIndexByName(param);
        break;
    case SetIfSync:
        app.overrides.interfaceIndex = 1;
        break;
    case None:
        break;
    }
}

} // namespace

std::span<const CmdLineOption> OptionTable() {
    return kOptions;
}

void CMDLINE_Init(App& app, const std::string& programName, const std::string& errorFileName,
                  int exitCommand, BatchCallback callback) {
    auto& s = app.cmdline;
    s.programName = programName.substr(0, kMessageSize - 1);
    s.exitCommand = exitCommand;
    s.callback = std::move(callback);
    s.errorFile.Init(errorFileName.substr(0, 259), app.clock.LocalTime(), app.clock.Milliseconds());
}

void CMDLINE_ParseArguments(App& app, int argc, const char* const* argv) {
    if (argc <= 1) return;
    bool allValid = true;
    app.cmdline.parsing = true;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i] ? argv[i] : "";
        int ok;
        if (IsOptionArgument(argv[i])) {
            std::string word = arg.substr(1);
            // "-saveas out.hex" means "-saveasout.hex": an option that needs a parameter and
            // has none of its own takes the next argument when that is no option itself.
            // Taken as a plain file name, it would open the file the user meant to write.
            const CmdLineOption* row = CMDLINE_FindOption(word);
            if (row && row->takesParameter && word.size() == std::strlen(row->name) &&
                i + 1 < argc && !IsOptionArgument(argv[i + 1]) && argv[i + 1] && argv[i + 1][0])
                word += argv[++i];
            ok = CMDLINE_ParseOption(app, word);
        } else {
            ok = CMDLINE_ParseOption(app, "openfile" + arg); // every plain argument opens a file
        }
        allValid = allValid && ok;
    }
    app.cmdline.parsing = false;
    if (!allValid) CMDLINE_ShowHelp(app);
}

const CmdLineOption* CMDLINE_FindOption(const std::string& word) {
    for (const auto& option : kOptions)
        if (MatchesOption(word, option.name)) return &option;
    return nullptr;
}

int CMDLINE_ParseOption(App& app, const std::string& word) {
    auto& s = app.cmdline;
    const CmdLineOption* row = CMDLINE_FindOption(word);
    if (!row) {
        std::string message = "\"" + word + "\" is not a valid command !";
        message = message.substr(0, kMessageSize - 1);
        CMDLINE_RecordError(app, message);
        app.ui.MessageBox(message, "Error", MsgButtons::Ok, MsgIcon::Warning, MsgAnswer::Ok);
        return 0;
    }
    if (row->command == 0 && row->atOnce == None) {
        CMDLINE_ShowHelp(app);
        return 1;
    }
    std::string param = word.substr(std::strlen(row->name));
    if (param.size() >= kParamSize) {
        APP_ReportError(app, 229,
                        UTIL_format("Invalid commandline option\r\n-%s: the parameter is longer "
                                    "than %d characters",
                                    {row->name, static_cast<int>(kParamSize - 1)}));
        return 1;
    }
    if (row->atOnce != None) {
        RunAtOnce(app, row->atOnce, param);
        return 1;
    }
    if (s.count >= kBatchQueueSize) {
        APP_ReportError(app, 229,
                        UTIL_format("Invalid commandline option\r\n-%s: no more than %d commands "
                                    "can be queued",
                                    {row->name, static_cast<int>(kBatchQueueSize)}));
        return 1;
    }
    s.queue[s.count] = BatchEntry{row, param};
    ++s.count;
    s.batchRunning = true;
    if (row->command == s.exitCommand) s.exitRequested = true;
    return 1;
}

std::string CMDLINE_HelpText() {
    std::string text = "Valid command line options:\r\n\r\n";
    for (const auto& option : kOptions)
        text += std::string("-") + option.name + option.help + "\r\n";
    return text;
}

void CMDLINE_ShowHelp(App& app) {
    app.ui.ShowHelpText(CMDLINE_HelpText(), "Commandline");
}

ParamReader CMDLINE_ParamReader(App& app, const std::string& param) {
    return ParamReader(param, [&app](const std::string& text) { CMDLINE_ReportError(app, text); });
}

void CMDLINE_ReportError(App& app, const std::string& text) {
    CMDLINE_RecordError(app, text);
    app.ui.ErrorFileEntry(text);
}

void CMDLINE_RecordError(App& app, const std::string& text) {
    auto& s = app.cmdline;
    if (s.errorLevel == 0) s.errorLevel = 1;
    s.lastErrorText = text.substr(0, kMessageSize - 1);
    s.errorFile.WriteEntry(app.clock.Milliseconds(), s.errorLevel, text);
}

int32_t CMDLINE_GetErrorLevel(const App& app) {
    return app.cmdline.errorLevel;
}
void CMDLINE_SetErrorLevel(App& app, int32_t code) {
    app.cmdline.errorLevel = code;
}
bool CMDLINE_IsBatchRunning(const App& app) {
    return app.cmdline.batchRunning;
}
bool CMDLINE_IsExitRequested(const App& app) {
    return app.cmdline.exitRequested;
}
void CMDLINE_SetSerialNumber(App& app, int32_t number) {
    app.cmdline.serialNumber = number;
}

} // namespace vantrel
