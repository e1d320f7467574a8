#include "link/FrameLayer.h"

#include <algorithm>

namespace vantrel {

bool FrameLayer::Send(uint8_t slot, uint8_t control, std::span<const uint8_t> payload,
                      uint8_t sends) {
    if (slot >= kSlots || payload.size() > kMaxPayload) return false;
    Slot& s = slots_[slot];
    s.length = static_cast<uint8_t>(payload.size());
    s.control = control;
    s.remaining = sends;
    std::copy(payload.begin(), payload.end(), s.payload.begin());
    if (awaiting_ < 0) SendSlot(slot);
    return true;
}

void FrameLayer::SendSlot(uint8_t n) {
    Slot& s = slots_[n];
    if ((s.control & 0x80) == 0) awaiting_ = n;
    if (inRead_) sentInRead_ = true;
    answerTicks_ = kAnswerTicks;
    uint8_t sum = static_cast<uint8_t>(s.control + 0x00 + n);
    for (uint8_t b : {kStart, s.length, s.length, kStart, s.control, uint8_t{0x00}, n})
        sink_.PutByte(b);
    for (size_t i = 0; i < s.length; ++i) {
        sink_.PutByte(s.payload[i]);
        sum = static_cast<uint8_t>(sum + s.payload[i]);
    }
    sink_.PutByte(sum);
    sink_.PutByte(kEnd);
    if (s.remaining != 0) --s.remaining;
}

void FrameLayer::AnswerCompleted(uint8_t n) {
    answerTicks_ = 0;
    slots_[n].remaining = 0;
    SendNextAfter(n);
}

// The next waiting slot after n, wrapping round, gets the turn: the slots take turns instead of
// the low numbers starving the high ones.
void FrameLayer::SendNextAfter(uint8_t n) {
    awaiting_ = -1;
    for (uint8_t i = 1; i < kSlots; ++i) {
        const uint8_t next = static_cast<uint8_t>((n + i) % kSlots);
        if (slots_[next].remaining != 0) {
            SendSlot(next);
            return;
        }
    }
}

void FrameLayer::Tick() {
    if (resync_ != 0) {
        --resync_;
        return;
    }
    if (awaiting_ < 0 || answerTicks_ == 0) return;
    if (--answerTicks_ != 0) return;
    const uint8_t n = static_cast<uint8_t>(awaiting_);
    Slot& s = slots_[n];
    if (s.remaining >= 2) {
        SendSlot(n);
        return;
    }
    s.remaining = 0;
    // Still awaiting while the sink hears of it: a request it sends from the callback waits for
    // the turn below instead of jumping ahead.
    sink_.OnTimeout(s.control, n);
    SendNextAfter(n);
}

void FrameLayer::ReceiveRead(std::span<const uint8_t> bytes) {
    inRead_ = true;
    sentInRead_ = false;
    for (uint8_t b : bytes)
        Receive(b);
    inRead_ = false;
    sentInRead_ = false;
}

void FrameLayer::FramingError() {
    state_ = Rx::Idle;
    resync_ = kQuietTicks;
}

void FrameLayer::Receive(uint8_t byte) {
    // After a framing error the line is garbage until it falls quiet.
    if (resync_ != 0) {
        resync_ = kQuietTicks;
        return;
    }
    switch (state_) {
    case Rx::Idle:
        if (byte == kStart) {
            state_ = Rx::Length1;
        } else if (byte == kAck && awaiting_ >= 0) {
            if (sentInRead_) {
                ++staleAcks_;
                return;
            }
            const uint8_t n = static_cast<uint8_t>(awaiting_);
            const uint8_t control = slots_[n].control;
            AnswerCompleted(n);
            sink_.OnAck(control, n);
        }
        return;
    case Rx::Length1:
        if (byte > kMaxPayload) return FramingError();
        expected_ = byte;
        count_ = 0;
        state_ = Rx::Length2;
        return;
    case Rx::Length2:
        if (byte != expected_) return FramingError();
        state_ = Rx::Start2;
        return;
    case Rx::Start2:
        if (byte != kStart) return FramingError();
        sum_ = 0;
        state_ = Rx::Control;
        return;
    case Rx::Control:
        if (byte != kRequest && byte != kReply) return FramingError();
        rxControl_ = byte;
        sum_ = static_cast<uint8_t>(sum_ + byte);
        state_ = Rx::Status;
        return;
    case Rx::Status:
        rxStatus_ = byte;
        sum_ = static_cast<uint8_t>(sum_ + byte);
        state_ = Rx::Command;
        return;
    case Rx::Command:
        rxN_ = byte;
        sum_ = static_cast<uint8_t>(sum_ + byte);
        state_ = expected_ == 0 ? Rx::Checksum : Rx::Payload;
        return;
    case Rx::Payload:
        rxPayload_[count_++] = byte; // count_ < expected_ <= 250 here
        sum_ = static_cast<uint8_t>(sum_ + byte);
        if (count_ == expected_) state_ = Rx::Checksum;
        return;
    case Rx::Checksum:
        if (byte != sum_) return FramingError();
        state_ = Rx::End;
        return;
    case Rx::End:
        if (byte != kEnd) return FramingError();
        state_ = Rx::Idle;
        FrameComplete();
        return;
    }
}

// Requests echoed by the line or sent by another PC on it are not ours to answer. A reply ends
// the wait only when it carries the awaiting slot's number: a late reply to a request that has
// already timed out must not start a second request while one is in flight. Every reply still
// goes up; the protocol manager judges replies it did not expect.
void FrameLayer::FrameComplete() {
    if ((rxControl_ & 0x80) == 0) return;
    if (awaiting_ >= 0 && rxN_ == awaiting_) AnswerCompleted(rxN_);
    sink_.OnReply(rxStatus_, rxN_, std::span<const uint8_t>(rxPayload_.data(), expected_));
}

} // namespace vantrel
