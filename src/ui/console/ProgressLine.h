#pragma once
// What the console shows of a long operation: the texts of its progress line and the rules
// for how often a log or an event stream hears of it. Plain functions of their inputs, so that
// they are tested without a terminal.
#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

// One moment of a progress dialog: `elapsedMs` counts from the moment its caption appeared;
// `totalBytes` is the size of a transfer (0: an operation of the programmer).
struct ProgressSample {
    std::string caption;
    int percent = 0;
    uint32_t totalBytes = 0;
    uint32_t elapsedMs = 0;
};

// "[#####---------------]" with `width` cells; the percentage is held to 0..100.
std::string ProgressBar(int percent, int width = 20);
// The bytes of a transfer done at `percent`.
uint32_t BytesDone(int percent, uint32_t totalBytes);
// "512 B/s", "12.5 KiB/s", "1.2 MiB/s"; empty before any time has passed.
std::string RateText(uint32_t bytes, uint32_t elapsedMs);
// The time still needed when `percent` took `elapsedMs`; none before the first percent.
std::optional<uint32_t> TimeLeftMs(int percent, uint32_t elapsedMs);
// "m:ss".
std::string DurationText(uint32_t ms);
// "Programming [########------------]  40 %  26214 of 65536 bytes  12.5 KiB/s  0:03 left".
std::string ProgressLineText(const ProgressSample& sample);
// The line that ends an operation: "Time for last action (sec:ms) 1:042".
std::string ElapsedTimeText(uint32_t ms);

// A log (stderr that is no terminal) gets a line when a caption appears and then at most one
// per 10 %: when the percentage has reached the next multiple of ten.
class TenPercentSteps {
  public:
    void Restart() { shown_ = -1; }
    bool Due(int percent);

  private:
    int shown_ = -1; // the step last shown, -1: none yet
};

// The event stream gets at most 10 progress events a second: always the first after a
// restart and the first at 100 %, otherwise a changed percentage 100 ms after the last one.
class EventPacing {
  public:
    void Restart() { started_ = false; }
    bool Due(int percent, uint32_t nowMs);

  private:
    bool started_ = false;
    int percent_ = 0;
    uint32_t lastMs_ = 0;
};

} // namespace vantrel
