#pragma once
// The steps every target operation is made of, on the main thread: the supply check, bringing
// the image into the programmer, the two waits (for the job queue, for the programmer's
// operation) with their progress dialog, the time display, and the two endings. The waits
// sleep 25 ms between looks and keep the windows running; the link thread does all the I/O.
#include <cstdint>
#include <string>

namespace vantrel {

struct App;

// Job codes of the target operations.
namespace job {
inline constexpr uint32_t kClear = 1, kClearAll = 2, kClearChip = 3, kDownload = 4, kFirmware = 5,
                          kReadBack = 6, kVerify = 7, kBlankCheck = 10, kReadChip = 11,
                          kProgram = 12, kCancel = 13, kFill = 14, kCrc = 15, kProgramVerify = 16,
                          kStartApplication = 17;
}

// The programmer's state while an operation was handed over and no status has come since.
inline constexpr uint8_t kStateBusy = 12;

// True when the supply voltages forbid the operation (223, 224 or 225 reported). Takes the
// operation's start time.
bool OP_CheckSupply(App& app);
// Brings the image into the programmer when it needs it: ID check, fill, download, CRC. True
// when that failed (its error reported, or the user declined: last error 62).
bool OP_Download(App& app);
// Waits until the job queue is empty; true when cancelled or a protocol error was reported.
bool OP_WaitJobs(App& app, const std::string& caption);
// Waits until the programmer has finished its operation; true when cancelled.
bool OP_WaitOperation(App& app, const std::string& caption);
// "Time for last action (sec:ms) %d:%.3d" in status pane 0.
void OP_ShowTime(App& app);
void OP_Success(App& app, const std::string& text);
void OP_Fail(App& app, int32_t code);
// -1 while the programmer is not ready, else the result of its last operation.
int32_t ResultCode(const App& app);

} // namespace vantrel
