#include "SimProgrammer.h"

#include <algorithm>
#include <string>

#include "SimFrames.h"

namespace vantrel::sim {
namespace {

constexpr std::size_t kFirmwareSize = 0x30000;
constexpr std::size_t kMarkerOffset = 0xBFF0;
constexpr std::array<uint8_t, 4> kMarker = {0x21, 0x43, 0x65, 0x87};
constexpr std::size_t kMaxRead = 128;
constexpr std::size_t kSetupWrite = 64;
constexpr std::size_t kSerialOffset = 16;
constexpr std::array<uint8_t, 8> kBootloaderId = {'S', 'I', 'M', '-', 'B', 'L', '0', '1'};

uint32_t U32At(std::span<const uint8_t> p, std::size_t at) {
    return p[at] | (p[at + 1] << 8) | (p[at + 2] << 16) | (uint32_t{p[at + 3]} << 24);
}

// The status record grows field by field; the count of fields sent is cut at the end.
class RecordWriter {
  public:
    void U8(uint8_t v) { Bytes(v, 1); }
    void U16(uint16_t v) { Bytes(v, 2); }
    void U32(uint32_t v) { Bytes(v, 4); }
    void Field(std::span<const uint8_t> bytes) {
        for (uint8_t b : bytes)
            bytes_.push_back(b);
        ends_.push_back(bytes_.size());
    }
    std::vector<uint8_t> Cut(unsigned fields) const {
        if (fields >= ends_.size()) return bytes_;
        if (fields == 0) return {};
        return {bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(ends_[fields - 1])};
    }

  private:
    void Bytes(uint32_t v, int width) {
        for (int i = 0; i < width; ++i)
            bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
        ends_.push_back(bytes_.size());
    }
    std::vector<uint8_t> bytes_;
    std::vector<std::size_t> ends_;
};

std::vector<uint8_t> CodeList(const std::vector<uint8_t>& codes) {
    std::vector<uint8_t> field;
    field.reserve(codes.size() + 1);
    field.push_back(static_cast<uint8_t>(codes.size()));
    for (uint8_t c : codes)
        field.push_back(c);
    return field;
}

} // namespace

Programmer::Programmer(SimSettings settings) : settings_(std::move(settings)) {
    firmware_ = settings_.firmware;
    // Fields 21 and 22 count their codes in one byte.
    if (settings_.algorithms.size() > 255) settings_.algorithms.resize(255);
    if (settings_.interfaces.size() > 255) settings_.interfaces.resize(255);
    for (int i = 0; i < 4; ++i)
        setup_[kSerialOffset + i] = static_cast<uint8_t>(settings_.serial >> (8 * i));
}

bool Programmer::Deaf(uint64_t nowMs) const {
    return nowMs < deafUntil_ || restartEndsMs_.has_value();
}

std::vector<uint8_t> Programmer::OnRequest(uint8_t n, std::span<const uint8_t> payload,
                                           uint64_t nowMs) {
    Advance(nowMs);
    if (n == 1 && settings_.silenceAfterWrite && ++writes_ == settings_.silenceAfterWrite)
        deafUntil_ = nowMs + settings_.silenceMs;
    if (Deaf(nowMs)) {
        ++counters_.unheard;
        return {};
    }
    ++counters_.frames;
    switch (n) {
    case 0:
        return OnStatusPoll(payload);
    case 1:
        return OnWrite(payload);
    case 2:
        return OnRead(payload);
    case 3:
        return OnOperation(payload, nowMs);
    case 4:
        return OnSetup(payload);
    case 5:
        return OnFirmware(payload, nowMs);
    default:
        ++counters_.refused; // commands 6..8 do not exist
        return {};
    }
}

std::vector<uint8_t> Programmer::Reply(uint8_t n, std::span<const uint8_t> payload) const {
    return EncodeReply(state_, n, payload);
}

std::vector<uint8_t> Programmer::Refuse(uint8_t n, uint8_t error, uint32_t address,
                                        uint32_t value) {
    ++counters_.refused;
    RecordWriter w;
    w.U8(error);
    w.U32(address);
    w.U32(value);
    return Reply(n, w.Cut(3));
}

std::vector<uint8_t> Programmer::StatusRecord() const {
    RecordWriter w;
    w.U8(state_);                   // 1
    w.U32(firmware_);               // 2
    w.U32(0);                       // 3
    w.U8(result_);                  // 4
    w.U32(address_);                // 5
    w.U32(session_);                // 6
    w.Field(kBootloaderId);         // 7
    w.U8(settings_.interfaceInUse); // 8
    w.U16(settings_.hardware);      // 9
    w.U16(settings_.vin);           // 10
    w.U16(settings_.vtarget);       // 11
    w.U8(readByte_);                // 12
    w.U8(expectedByte_);            // 13
    w.U16(0);                       // 14
    w.U8(0);                        // 15
    w.U16(crc_);                    // 16
    w.U16(calibration1_);           // 17
    w.U16(calibration2_);           // 18
    w.U8(settings_.parallel);       // 19
    if (settings_.hardware >= 500 || firmware_ >= 18200) {
        w.U8(settings_.variant);                 // 20
        w.Field(CodeList(settings_.algorithms)); // 21
        w.Field(CodeList(settings_.interfaces)); // 22
    }
    return w.Cut(settings_.statusFields);
}

std::vector<uint8_t> Programmer::OnStatusPoll(std::span<const uint8_t> payload) {
    std::string reason;
    auto cfg = ParseTargetConfig(payload, reason);
    if (!cfg) {
        // A short status that names the refusal; nothing else changes.
        ++counters_.refused;
        const uint8_t refused[] = {code::kRefused};
        return EncodeReply(code::kRefused, 0, refused);
    }
    if (cfg->session != 0) {
        counters_.sessions += settings_.refuseSession ? 0 : 1;
        if (settings_.refuseSession)
            session_ = 0;
        else if (settings_.sessionMismatch)
            session_ = (cfg->session ^ 0x5A5A5A5Au) ? (cfg->session ^ 0x5A5A5A5Au) : 1;
        else
            session_ = cfg->session;
    }
    config_ = std::move(cfg);
    return Reply(0, StatusRecord());
}

bool Programmer::InBanks(uint64_t address, uint64_t length) const {
    // Adjacent banks may share the range between them, so walk it bank by bank.
    uint64_t at = address;
    const uint64_t end = address + length;
    for (const Bank& b : Banks()) {
        if (at >= end) break;
        if (b.start <= at && at < b.End()) at = std::min(end, b.End());
    }
    return at >= end;
}

std::vector<uint8_t> Programmer::OnWrite(std::span<const uint8_t> payload) {
    if (payload.size() < 5) return Refuse(1, code::kUnsupported, 0, 0);
    const uint32_t address = U32At(payload, 0);
    const auto data = payload.subspan(4);
    for (std::size_t i = 0; i < data.size(); ++i)
        if (!InBanks(uint64_t{address} + i, 1))
            return Refuse(1, code::kIllegalAddress, static_cast<uint32_t>(address + i), data[i]);
    buffer_.Write(address, data);
    return {kAckByte};
}

std::vector<uint8_t> Programmer::OnRead(std::span<const uint8_t> payload) {
    if (settings_.unreadable) return {kAckByte};
    const uint32_t address = payload.size() >= 4 ? U32At(payload, 0) : 0;
    std::vector<uint8_t> reply = {0, uint8_t(address), uint8_t(address >> 8),
                                  uint8_t(address >> 16), uint8_t(address >> 24)};
    // A refusal: error, address, count 0.
    auto refuse = [&](uint8_t error) {
        ++counters_.refused;
        reply[0] = error;
        reply.push_back(0);
        return Reply(2, reply);
    };
    if (payload.size() != 5 || payload[4] == 0 || payload[4] > kMaxRead)
        return refuse(code::kUnsupported);
    const uint8_t count = payload[4];
    if (!InBanks(address, count)) return refuse(code::kIllegalAddress);
    std::array<uint8_t, kMaxRead> data{};
    buffer_.Read(address, data.data(), count, Fill());
    // An erased block goes back as count 0, which the PC stores as 0xFF.
    const bool erased =
        std::all_of(data.begin(), data.begin() + count, [](uint8_t b) { return b == 0xFF; });
    reply.push_back(erased ? 0 : count);
    if (!erased) reply.insert(reply.end(), data.begin(), data.begin() + count);
    return Reply(2, reply);
}

std::vector<uint8_t> Programmer::OnSetup(std::span<const uint8_t> payload) {
    if (payload.size() == 4) {
        std::vector<uint8_t> reply(4, 0);
        reply.insert(reply.end(), setup_.begin(), setup_.end());
        return Reply(4, reply);
    }
    if (payload.size() == 4 + kSetupWrite) {
        std::copy(payload.begin() + 4, payload.end(), setup_.begin());
        return {kAckByte};
    }
    ++counters_.refused;
    return {};
}

std::vector<uint8_t> Programmer::OnFirmware(std::span<const uint8_t> payload, uint64_t nowMs) {
    if (payload.size() < 5) return Refuse(5, code::kUnsupported, 0, 0);
    const uint32_t offset = U32At(payload, 0);
    const auto data = payload.subspan(4);
    if (uint64_t{offset} + data.size() > kFirmwareSize)
        return Refuse(5, code::kIllegalAddress, offset, 0);
    if (firmwareImage_.empty()) firmwareImage_.assign(kFirmwareSize, 0xFF);
    std::copy(data.begin(), data.end(), firmwareImage_.begin() + offset);
    firmwareHighest_ = std::max<uint64_t>(firmwareHighest_, uint64_t{offset} + data.size());
    lastChunkMs_ = nowMs;
    if (firmwareHighest_ >= kMarkerOffset + 16 &&
        std::equal(kMarker.begin(), kMarker.end(), firmwareImage_.begin() + kMarkerOffset))
        BeginRestart(nowMs); // the acknowledge still goes out
    return {kAckByte};
}

void Programmer::BeginRestart(uint64_t nowMs) {
    restartEndsMs_ = nowMs + settings_.restartMs;
    lastChunkMs_.reset();
}

void Programmer::Advance(uint64_t nowMs) {
    if (lastChunkMs_ && nowMs >= *lastChunkMs_ + settings_.firmwareQuietMs) BeginRestart(nowMs);
    if (restartEndsMs_ && nowMs >= *restartEndsMs_) {
        restartEndsMs_.reset();
        ++counters_.restarts;
        firmware_ = settings_.newFirmware;
        session_ = 0;
        state_ = code::kReady;
        result_ = code::kOk;
        address_ = 0;
        crc_ = 0;
        running_.reset();
        buffer_.Clear();
        firmwareImage_.clear();
        firmwareHighest_ = 0;
    }
    TrackOperation(nowMs);
}

} // namespace vantrel::sim
