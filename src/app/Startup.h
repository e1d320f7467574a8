#pragma once
// The start-up and shutdown sequences of the program, shared by every front end.
#include <cstdint>
#include <functional>

namespace vantrel {

struct App;

struct StartupOptions {
    // The console front end ends when its batch ends, as if -exit closed every command line.
    bool exitAfterBatch = false;
    // The console front end runs each batch entry as soon as the previous one has ended and
    // skips the waits with nothing to wait for (see CmdLineState::consolePacing); the window
    // program keeps the pace of its 50 ms timer.
    bool consolePacing = false;
};

// Runs the start-up sequence; false when the program is to end at once.
// `registerFrontEndCommands` registers the front end's own handlers (its dialogs) over the
// program's commands, before the command line runs and a corrected setting may open the device
// dialog.
bool InitInstance(App& app, int argc, const char* const* argv, const StartupOptions& options = {},
                  const std::function<void()>& registerFrontEndCommands = {});
// Runs the shutdown sequence and returns the process exit code.
int32_t ExitInstance(App& app);

// The exit code for an error value (the error level, else the last error code), the
// "Detailed errorlevel on return" option and the last command batch mode ran.
int32_t ExitCodeFor(int32_t error, bool detailedError, int lastBatchCommand);

inline constexpr const char* kFarewell = "Thank you for using KORVID tools";

} // namespace vantrel
