#pragma once
// Batch mode: runs the queued command-line commands one per timer tick, waits for the
// programmer where a command needs it, stops at the first error and ends the program with
// the error level when -exit was given.
#include <cstdint>
#include <functional>

#include "base/ParamReader.h"

namespace vantrel {

struct App;

inline constexpr uint32_t kProgrammerWaitMs = 4000;
inline constexpr uint32_t kExitDelayMs = 1000;

void CMDLINE_Step(App& app);
void CMDLINE_CommandDone(App& app);
// `param` reads the parameter of the command's own queue entry.
void RunBatchCommand(App& app, int command, bool needsProgrammer, ParamReader& param);
void DispatchBatchCommand(App& app, int command, ParamReader& param);
// Asks the link for a fresh configuration and waits up to about 200 ms for the programmer's
// answer; true when it came. With console pacing it ends at once when no port is open.
bool WaitLinkReady(App& app);
// True when a queued command needs the programmer.
bool BatchNeedsProgrammer(const App& app);

// Steps the batch until it ends or `stopRequested` says so, for a front end without a window
// timer: one step per 50 ms tick, or with console pacing the next step at once whenever the
// previous one ended its entry (an entry that waits is tried again at the next tick).
void RunBatchWithoutWindow(App& app, const std::function<bool()>& stopRequested);

} // namespace vantrel
