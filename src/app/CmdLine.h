#pragma once
// The command-line module: the option table, the batch queue it fills, the parameter readers
// the queued commands use, the error level and the error file.
#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <span>
#include <string>

#include "app/ErrorFile.h"
#include "base/CommandIds.h"
#include "base/ParamReader.h"
#include "base/Reporter.h"

namespace vantrel {

struct App;

// Options that act while the arguments are parsed instead of being queued.
enum class AtOnce { None, Com, Index, SelDevice, SetIfSpeed, SetIfSync };

struct CmdLineOption {
    const char* name;
    int command; // main window command id; 0 = the help box
    AtOnce atOnce;
    bool needsProgrammer;
    const char* help; // begins with its tabs
    bool takesParameter = false;
};

// The option table in matching order (longer names before the shorter ones they begin with).
std::span<const CmdLineOption> OptionTable();

inline constexpr std::size_t kBatchQueueSize = 20;
inline constexpr std::size_t kParamSize = 200; // parameter text: 199 characters + terminator

struct BatchEntry {
    const CmdLineOption* option = nullptr;
    std::string param;
};

using BatchCallback = std::function<void(int command, bool needsProgrammer, ParamReader& param)>;

struct CmdLineState {
    std::string programName;
    int exitCommand = 0;
    BatchCallback callback;

    std::array<BatchEntry, kBatchQueueSize> queue;
    std::size_t count = 0;
    std::size_t current = 0;
    bool batchRunning = false;
    bool exitRequested = false;
    bool parsing = false; // the arguments are being parsed: errors are command-line errors

    int32_t errorLevel = 0;
    std::string lastErrorText;
    ErrorFile errorFile;
    int32_t serialNumber = -1;
    int lastBatchCommand = 0;

    // Batch mode.
    bool runningTextShown = false;
    bool waiting = false;
    uint32_t waitDeadline = 0;
    // Console pacing: the next entry runs at once, an error ends the run without the pause
    // before ending, and the link wait ends at once when no port is open.
    bool consolePacing = false;
};

void CMDLINE_Init(App& app, const std::string& programName, const std::string& errorFileName,
                  int exitCommand, BatchCallback callback);
// Walks the arguments (argv[0] is the program); shows the help box after an invalid one.
void CMDLINE_ParseArguments(App& app, int argc, const char* const* argv);
int CMDLINE_ParseOption(App& app, const std::string& word);
// The first row of the option table that `word` begins with, or null.
const CmdLineOption* CMDLINE_FindOption(const std::string& word);
void CMDLINE_ShowHelp(App& app);
std::string CMDLINE_HelpText();

// A reader over one command's parameter whose errors go to the error file (and the console).
ParamReader CMDLINE_ParamReader(App& app, const std::string& param);
// The readers of a command's parameter under their old names.
inline const std::string& CMDLINE_GetParam(const ParamReader& param) {
    return param.Param();
}
inline char CMDLINE_GetChar(ParamReader& param) {
    return param.GetChar();
}
inline int32_t CMDLINE_GetHexValue(ParamReader& param) {
    return param.GetHexValue();
}
inline std::string CMDLINE_GetString(ParamReader& param, std::size_t maxLength) {
    return param.GetString(maxLength);
}
inline bool CMDLINE_HasParseError(const ParamReader& param) {
    return param.HasParseError();
}

// Error level at least 1, the text kept as the last error text and written to the error file.
// CMDLINE_ReportError is for texts no message box shows: the Ui gets them as well
// (ErrorFileEntry), so that a console user sees them. CMDLINE_RecordError is for a caller that
// shows the text in a message box itself.
void CMDLINE_ReportError(App& app, const std::string& text);
void CMDLINE_RecordError(App& app, const std::string& text);
int32_t CMDLINE_GetErrorLevel(const App& app);
void CMDLINE_SetErrorLevel(App& app, int32_t code);
bool CMDLINE_IsBatchRunning(const App& app);
bool CMDLINE_IsExitRequested(const App& app);
void CMDLINE_SetSerialNumber(App& app, int32_t number);

} // namespace vantrel
