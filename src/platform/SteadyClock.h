#pragma once
#include "platform/Clock.h"

namespace vantrel {

// The real clock: std::chrono::steady_clock for ticks, localtime_r for the date.
class SteadyClock : public Clock {
  public:
    uint32_t Milliseconds() override;
    void Sleep(uint32_t ms) override;
    std::tm LocalTime() override;
};

} // namespace vantrel
