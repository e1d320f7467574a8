#include "SimFrames.h"

#include <algorithm>

namespace vantrel::sim {

bool FrameReader::Bad(uint8_t byte) {
    ++dropped_;
    // The offending byte may itself be the start of the next frame.
    state_ = byte == kFrameStart ? State::Length1 : State::Idle;
    return false;
}

bool FrameReader::Feed(uint8_t byte) {
    switch (state_) {
    case State::Idle:
        if (byte == kFrameStart) state_ = State::Length1;
        return false;
    case State::Length1:
        if (byte > kMaxFramePayload) return Bad(byte);
        length_ = byte;
        state_ = State::Length2;
        return false;
    case State::Length2:
        if (byte != length_) return Bad(byte);
        state_ = State::Start2;
        return false;
    case State::Start2:
        if (byte != kFrameStart) return Bad(byte);
        state_ = State::Control;
        return false;
    case State::Control:
        // A reply frame on this side can only be our own echo or noise: both are dropped.
        if (byte != kControlRequest) return Bad(byte);
        sum_ = byte;
        state_ = State::Status;
        return false;
    case State::Status:
        sum_ = static_cast<uint8_t>(sum_ + byte);
        state_ = State::Command;
        return false;
    case State::Command:
        n_ = byte;
        sum_ = static_cast<uint8_t>(sum_ + byte);
        count_ = 0;
        state_ = length_ ? State::Payload : State::Sum;
        return false;
    case State::Payload:
        payload_[count_++] = byte; // count_ < length_ <= 250
        sum_ = static_cast<uint8_t>(sum_ + byte);
        if (count_ == length_) state_ = State::Sum;
        return false;
    case State::Sum:
        if (byte != sum_) return Bad(byte);
        state_ = State::End;
        return false;
    case State::End:
        if (byte != kFrameEnd) return Bad(byte);
        state_ = State::Idle;
        return true;
    }
    return false;
}

std::vector<uint8_t> EncodeReply(uint8_t status, uint8_t n, std::span<const uint8_t> payload) {
    const auto length = static_cast<uint8_t>(std::min(payload.size(), kMaxFramePayload));
    std::vector<uint8_t> frame = {kFrameStart,   length, length, kFrameStart,
                                  kControlReply, status, n};
    uint8_t sum = static_cast<uint8_t>(kControlReply + status + n);
    for (std::size_t i = 0; i < length; ++i) {
        frame.push_back(payload[i]);
        sum = static_cast<uint8_t>(sum + payload[i]);
    }
    frame.push_back(sum);
    frame.push_back(kFrameEnd);
    return frame;
}

} // namespace vantrel::sim
