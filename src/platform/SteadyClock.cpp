#include "platform/SteadyClock.h"

#include <chrono>
#include <thread>

namespace vantrel {

uint32_t SteadyClock::Milliseconds() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void SteadyClock::Sleep(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::tm SteadyClock::LocalTime() {
    std::time_t now = std::time(nullptr);
    std::tm result{};
    localtime_r(&now, &result);
    return result;
}

} // namespace vantrel
