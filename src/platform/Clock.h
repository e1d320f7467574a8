#pragma once
// Time as the program sees it: a millisecond tick count, a sleep, and the local wall-clock
// time. Behind an interface so that tests can drive time by hand.
#include <cstdint>
#include <ctime>

namespace vantrel {

class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps like a 32-bit tick count.
    virtual uint32_t Milliseconds() = 0;
    virtual void Sleep(uint32_t ms) = 0;
    // The local date and time (for the error file start line and the log header).
    virtual std::tm LocalTime() = 0;
};

} // namespace vantrel
