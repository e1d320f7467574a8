#pragma once
// A clock that moves only when told to (or when the code under test sleeps).
#include "platform/Clock.h"

namespace vantrel::test {

class FakeClock : public Clock {
  public:
    uint32_t Milliseconds() override { return now; }
    void Sleep(uint32_t ms) override {
        now += ms;
        slept += ms;
    }
    std::tm LocalTime() override { return local; }

    uint32_t now = 1000;
    uint64_t slept = 0;
    std::tm local = [] {
        std::tm t{};
        t.tm_year = 2014 - 1900;
        t.tm_mon = 0;
        t.tm_mday = 21;
        t.tm_hour = 11;
        t.tm_min = 13;
        t.tm_sec = 0;
        t.tm_wday = 2;
        return t;
    }();
};

} // namespace vantrel::test
