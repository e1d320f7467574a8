#include "ui/console/ProgressLine.h"

#include <algorithm>

#include "base/UtilSnprintf.h"

namespace vantrel {

namespace {

int Clamp(int percent) {
    return std::clamp(percent, 0, 100);
}

} // namespace

std::string ProgressBar(int percent, int width) {
    const int full = Clamp(percent) * width / 100;
    return "[" + std::string(static_cast<std::size_t>(full), '#') +
           std::string(static_cast<std::size_t>(width - full), '-') + "]";
}

uint32_t BytesDone(int percent, uint32_t totalBytes) {
    return static_cast<uint32_t>(static_cast<uint64_t>(totalBytes) *
                                 static_cast<uint32_t>(Clamp(percent)) / 100);
}

std::string RateText(uint32_t bytes, uint32_t elapsedMs) {
    if (elapsedMs == 0) return {};
    const double perSecond = static_cast<double>(bytes) * 1000.0 / elapsedMs;
    char text[32];
    if (perSecond < 1024)
        std::snprintf(text, sizeof text, "%.0f B/s", perSecond);
    else if (perSecond < 1024.0 * 1024)
        std::snprintf(text, sizeof text, "%.1f KiB/s", perSecond / 1024);
    else
        std::snprintf(text, sizeof text, "%.1f MiB/s", perSecond / (1024.0 * 1024));
    return text;
}

std::optional<uint32_t> TimeLeftMs(int percent, uint32_t elapsedMs) {
    const int p = Clamp(percent);
    if (p == 0) return std::nullopt;
    const uint64_t left = static_cast<uint64_t>(elapsedMs) * static_cast<uint64_t>(100 - p) /
                          static_cast<uint64_t>(p);
    return static_cast<uint32_t>(std::min<uint64_t>(left, 0xFFFFFFFFu));
}

std::string DurationText(uint32_t ms) {
    const uint32_t seconds = (ms + 500) / 1000;
    char text[24];
    std::snprintf(text, sizeof text, "%u:%02u", seconds / 60, seconds % 60);
    return text;
}

std::string ProgressLineText(const ProgressSample& sample) {
    char percent[8];
    std::snprintf(percent, sizeof percent, "%3d %%", Clamp(sample.percent));
    std::string line = sample.caption + " " + ProgressBar(sample.percent) + " " + percent;
    if (sample.totalBytes > 0) {
        line += "  " + std::to_string(BytesDone(sample.percent, sample.totalBytes)) + " of " +
                std::to_string(sample.totalBytes) + " bytes";
        const std::string rate =
            RateText(BytesDone(sample.percent, sample.totalBytes), sample.elapsedMs);
        if (!rate.empty()) line += "  " + rate;
    }
    // At 100 % nothing is left to estimate.
    if (auto left = TimeLeftMs(sample.percent, sample.elapsedMs);
        left && Clamp(sample.percent) < 100)
        line += "  " + DurationText(*left) + " left";
    return line;
}

std::string ElapsedTimeText(uint32_t ms) {
    return UTIL_format("Time for last action (sec:ms) %d:%.3d", {ms / 1000, ms % 1000});
}

bool TenPercentSteps::Due(int percent) {
    const int step = Clamp(percent) / 10;
    if (step <= shown_) return false;
    shown_ = step;
    return true;
}

bool EventPacing::Due(int percent, uint32_t nowMs) {
    const int p = Clamp(percent);
    const bool due = !started_ || (p != percent_ && (p == 100 || nowMs - lastMs_ >= 100));
    if (!due) return false;
    started_ = true;
    percent_ = p;
    lastMs_ = nowMs;
    return true;
}

} // namespace vantrel
