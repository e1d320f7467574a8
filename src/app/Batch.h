#pragma once
// Batch mode: runs the queued command-line commands one per timer tick, waits for the
// programmer where a command needs it, stops at the first error and ends the program with
// the error level when -exit was given.
#include <cstdint>

namespace vantrel {

struct App;

inline constexpr uint32_t kProgrammerWaitMs = 4000;
inline constexpr uint32_t kExitDelayMs = 1000;

void CMDLINE_Step(App& app);
void CMDLINE_CommandDone(App& app);
void RunBatchCommand(App& app, int command, bool needsProgrammer);
void DispatchBatchCommand(App& app, int command);
// Asks the link for a fresh configuration and waits up to about 200 ms for the programmer's
// answer; true when it came.
bool WaitLinkReady(App& app);

} // namespace vantrel
