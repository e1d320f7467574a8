// The target operations of the programmer model: how long each takes, which busy states it
// shows, and what it does to the buffer and the target flash when it ends.
#include <algorithm>
#include <array>

#include "SimFrames.h"
#include "SimProgrammer.h"
#include "base/Crc16.h"

namespace vantrel::sim {
namespace {

constexpr uint8_t kCancel = 9;
constexpr std::size_t kChunk = 4096;

// The busy states an operation shows, in order; empty for an unknown operation.
std::vector<uint8_t> Phases(uint8_t op, bool clearFirst) {
    using namespace code;
    switch (op) {
    case 1:
    case 14:
    case 15:
        return {kClearing};
    case 2:
        return clearFirst ? std::vector<uint8_t>{kClearing, kWriting}
                          : std::vector<uint8_t>{kWriting};
    case 4:
        return {kBlankChecking};
    case 6:
        return {kVerifying};
    case 8:
        return {kReading};
    case 10:
        return {kFilling};
    case 11:
        return clearFirst ? std::vector<uint8_t>{kClearing, kWriting, kVerifying}
                          : std::vector<uint8_t>{kWriting, kVerifying};
    case 12:
        return {kResetting};
    case 13:
        return {kCrc};
    default:
        if (op >= 20 && op <= 25) return {op}; // the on-board RAM test states
        return {};
    }
}

} // namespace

const std::vector<Bank>& Programmer::Banks() const {
    static const std::vector<Bank> none;
    return config_ ? config_->banks : none;
}

uint64_t Programmer::BankBytes() const {
    uint64_t total = 0;
    for (const Bank& b : Banks())
        total += b.size;
    return total;
}

uint32_t Programmer::AddressAt(uint64_t position) const {
    for (const Bank& b : Banks()) {
        if (position < b.size) return static_cast<uint32_t>(b.start + position);
        position -= b.size;
    }
    return Banks().empty() ? 0 : static_cast<uint32_t>(Banks().back().End() - 1);
}

std::vector<uint8_t> Programmer::OnOperation(std::span<const uint8_t> payload, uint64_t nowMs) {
    if (payload.size() != 4) {
        ++counters_.refused;
        return {};
    }
    const uint8_t op = payload[0];
    if (op == kCancel) {
        if (running_) {
            running_.reset();
            state_ = code::kReady;
            result_ = code::kCanceled;
        }
    } else if (!running_) { // one operation at a time: another one meanwhile is ignored
        StartOperation(op, nowMs);
    }
    return {kAckByte};
}

void Programmer::StartOperation(uint8_t op, uint64_t nowMs) {
    auto phases = Phases(op, config_ && config_->ClearBeforeProgram());
    if (phases.empty()) {
        state_ = code::kReady;
        result_ = code::kUnsupported;
        return;
    }
    auto it = settings_.opMsByCode.find(op);
    const uint32_t ms = it != settings_.opMsByCode.end() ? it->second : settings_.opMs;
    running_ = Running{op, std::move(phases), nowMs, nowMs + ms};
    result_ = code::kOk;
    readByte_ = expectedByte_ = 0;
    TrackOperation(nowMs);
}

void Programmer::TrackOperation(uint64_t nowMs) {
    if (!running_) return;
    const Running& r = *running_;
    if (nowMs >= r.end) {
        const Outcome o = Perform(r.op);
        running_.reset();
        state_ = code::kReady;
        result_ = o.result;
        if (auto failing = settings_.failOps.find(r.op); failing != settings_.failOps.end())
            result_ = failing->second;
        if (o.address) {
            address_ = *o.address;
            readByte_ = o.read;
            expectedByte_ = o.expected;
        }
        return;
    }
    // Each phase sweeps the banks once; the current address follows.
    const uint64_t span = r.end - r.start, elapsed = nowMs - r.start;
    const uint64_t phase = elapsed * r.phases.size() / span;
    const uint64_t phaseStart = phase * span / r.phases.size();
    const uint64_t phaseLength = (phase + 1) * span / r.phases.size() - phaseStart;
    state_ = r.phases[phase];
    const uint64_t into = elapsed - phaseStart;
    address_ = AddressAt(phaseLength ? BankBytes() * into / phaseLength : 0);
}

Programmer::Outcome Programmer::Perform(uint8_t op) {
    Outcome o;
    switch (op) {
    case 1:
    case 14: // the target is programmed to zeroes first; what stays is an erased flash
        EraseTarget();
        break;
    case 15:
        target_.Clear();
        break;
    case 2:
    case 11:
        if (config_ && config_->ClearBeforeProgram()) EraseTarget();
        o = Program();
        if (op == 11 && o.result == code::kOk) o = Verify();
        break;
    case 4:
        o = BlankCheck();
        break;
    case 6:
        o = Verify();
        break;
    case 8:
        ReadChip();
        break;
    case 10:
        FillBuffer();
        break;
    case 13:
        crc_ = BufferCrc();
        if (settings_.badCrcs > 0) { // as if a byte had been lost in the buffer
            --settings_.badCrcs;
            crc_ ^= 0x0001;
        }
        break;
    default:
        if (op >= 20 && op <= 25) { // calibration steps measure something
            calibration1_ = static_cast<uint16_t>(1000 + op);
            calibration2_ = static_cast<uint16_t>(2000 + op);
        }
        break;
    }
    return o;
}

void Programmer::EraseTarget() {
    for (const Bank& b : Banks())
        target_.Erase(b.start, b.size);
}

void Programmer::FillBuffer() {
    buffer_.Clear();
    std::vector<uint8_t> fill(kChunk, Fill());
    for (const Bank& b : Banks())
        for (uint64_t at = b.start; at < b.End(); at += kChunk)
            buffer_.Write(at, std::span(fill).first(std::min<uint64_t>(kChunk, b.End() - at)));
}

void Programmer::ReadChip() {
    buffer_.Clear();
    std::array<uint8_t, kChunk> bytes{};
    for (const Bank& b : Banks())
        for (uint64_t at = b.start; at < b.End(); at += kChunk) {
            const std::size_t n = std::min<uint64_t>(kChunk, b.End() - at);
            target_.Read(at, bytes.data(), n, 0xFF);
            buffer_.Write(at, std::span(bytes).first(n));
        }
}

uint16_t Programmer::BufferCrc() const {
    uint16_t crc = 0;
    std::array<uint8_t, kChunk> bytes{};
    for (const Bank& b : Banks())
        for (uint64_t at = b.start; at < b.End(); at += kChunk) {
            const std::size_t n = std::min<uint64_t>(kChunk, b.End() - at);
            buffer_.Read(at, bytes.data(), n, Fill());
            crc = Crc16Kermit(crc, bytes.data(), n);
        }
    return crc;
}

// Flash bits only go from 1 to 0: a byte that would need a 0 turned into a 1 fails.
Programmer::Outcome Programmer::Program() {
    Outcome o;
    bool any = false;
    for (const Bank& b : Banks()) {
        uint64_t cursor = b.start;
        while (cursor < b.End()) {
            const ImageRun run = buffer_.Image().NextRun(cursor);
            if (!run.length || cursor >= b.End()) break;
            const uint64_t n = std::min<uint64_t>(run.length, b.End() - cursor);
            std::vector<uint8_t> next(n);
            target_.Read(cursor, next.data(), n, 0xFF);
            for (uint64_t i = 0; i < n; ++i) {
                const uint8_t old = next[i];
                next[i] = old & run.data[i];
                if (next[i] != run.data[i]) {
                    target_.Write(cursor, std::span(next).first(i + 1));
                    return {code::kProgramFailed, static_cast<uint32_t>(cursor + i), old,
                            run.data[i]};
                }
            }
            target_.Write(cursor, next);
            any = true;
            cursor += n;
        }
    }
    if (!any) o.result = code::kNoData;
    return o;
}

Programmer::Outcome Programmer::Verify() const {
    bool any = false;
    for (const Bank& b : Banks()) {
        uint64_t cursor = b.start;
        while (cursor < b.End()) {
            const ImageRun run = buffer_.Image().NextRun(cursor);
            if (!run.length || cursor >= b.End()) break;
            const uint64_t n = std::min<uint64_t>(run.length, b.End() - cursor);
            for (uint64_t i = 0; i < n; ++i) {
                const uint64_t at = cursor + i;
                uint8_t read = target_.Get(at, 0xFF);
                if (settings_.failVerify && *settings_.failVerify == at) read = ~run.data[i];
                if (read != run.data[i])
                    return {code::kVerifyFailed, static_cast<uint32_t>(at), read, run.data[i]};
            }
            any = true;
            cursor += n;
        }
    }
    return {any ? code::kOk : code::kNoData, std::nullopt, 0, 0};
}

Programmer::Outcome Programmer::BlankCheck() const {
    Outcome o;
    for (const Bank& b : Banks()) {
        uint64_t cursor = b.start;
        while (o.result == code::kOk && cursor < b.End()) {
            const ImageRun run = target_.Image().NextRun(cursor);
            if (!run.length || cursor >= b.End()) break;
            const uint64_t n = std::min<uint64_t>(run.length, b.End() - cursor);
            const auto* hit =
                std::find_if(run.data, run.data + n, [](uint8_t v) { return v != 0xFF; });
            if (hit != run.data + n)
                o = {code::kBlankFailed, static_cast<uint32_t>(cursor + (hit - run.data)), *hit,
                     0xFF};
            cursor += n;
        }
        if (o.result != code::kOk) break;
    }
    // The injected fault reads 0x00 there, unless a real failure comes first.
    const auto fault = settings_.failBlank;
    if (fault && InBanks(*fault, 1) && (o.result == code::kOk || *fault < *o.address))
        o = {code::kBlankFailed, *fault, 0x00, 0xFF};
    return o;
}

} // namespace vantrel::sim
