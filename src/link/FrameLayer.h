#pragma once
// The frame layer: the lower half of the serial protocol with the programmer. It owns the frame
// format of both directions (0x68 L L 0x68 C S N payload checksum 0x16, L = 0..250), the one-byte
// acknowledge 0x90, nine request slots (N = 0..8) with answer time-outs and retransmission, and
// the receiver state machine. It knows nothing of what the frames carry.
// Contract: every member runs on the link thread only (no lock). Bytes go out through
// FrameSink::PutByte; every complete reply frame, every acknowledge and every request that stays
// unanswered is handed to the sink. The sink may call Send from inside its callbacks. The layer
// copies payloads into its slots and never writes past a buffer, whatever the input.
#include <array>
#include <cstdint>
#include <span>

namespace vantrel {

// Where the frame layer talks to: the serial port below, the protocol manager above.
class FrameSink {
  public:
    virtual ~FrameSink() = default;
    virtual void PutByte(uint8_t byte) = 0; // SIO_PutByte
    // PM_OnReply: a complete reply frame. The payload is valid during the call only.
    virtual void OnReply(uint8_t status, uint8_t n, std::span<const uint8_t> payload) = 0;
    virtual void OnAck(uint8_t control, uint8_t n) = 0;     // PM_OnAck
    virtual void OnTimeout(uint8_t control, uint8_t n) = 0; // PM_OnTimeout
};

class FrameLayer {
  public:
    static constexpr uint8_t kStart = 0x68;
    static constexpr uint8_t kEnd = 0x16;
    static constexpr uint8_t kAck = 0x90;
    static constexpr uint8_t kRequest = 0x00;
    static constexpr uint8_t kReply = 0x80;
    static constexpr uint8_t kSlots = 9;
    static constexpr size_t kMaxPayload = 250;
    static constexpr uint8_t kAnswerTicks = 8;
    static constexpr uint8_t kQuietTicks = 3;

    explicit FrameLayer(FrameSink& sink) : sink_(sink) {}

    // FRAME_Send: fills the slot and sends it now unless another request awaits an answer; then
    // it waits its turn. A control byte with bit 7 clear awaits an answer. Returns false (and
    // changes nothing) for a slot above 8 or a payload above 250 bytes.
    bool Send(uint8_t slot, uint8_t control, std::span<const uint8_t> payload, uint8_t sends);
    // FRAME_Receive: one byte from the line.
    void Receive(uint8_t byte);
    // The bytes of one read from the line, in order. All of them were on the line before
    // anything sent while they are taken goes out, so none of them can acknowledge a request
    // sent during the read: such an acknowledge is a doubled earlier one and is dropped (taken
    // as the answer, it would complete a request the programmer may never have heard).
    void ReceiveRead(std::span<const uint8_t> bytes);
    // FRAME_Tick: one protocol tick (resynchronisation first, then the answer time-out).
    void Tick();

    // The slot awaiting an answer, or -1.
    int AwaitingSlot() const { return awaiting_; }
    // Acknowledges dropped by ReceiveRead so far.
    uint32_t StaleAcknowledges() const { return staleAcks_; }
    uint8_t RemainingSends(uint8_t slot) const {
        return slot < kSlots ? slots_[slot].remaining : 0;
    }

  private:
    struct Slot {
        uint8_t length = 0;
        uint8_t control = 0;
        uint8_t remaining = 0;
        std::array<uint8_t, kMaxPayload> payload{};
    };
    enum class Rx {
        Idle,
        Length1,
        Length2,
        Start2,
        Control,
        Status,
        Command,
        Payload,
        Checksum,
        End
    };

    void SendSlot(uint8_t n);
    void AnswerCompleted(uint8_t n);
    void SendNextAfter(uint8_t n);
    void FramingError();
    void FrameComplete();

    FrameSink& sink_;
    std::array<Slot, kSlots> slots_{};
    int awaiting_ = -1;
    uint8_t answerTicks_ = 0;
    uint8_t resync_ = 0;
    bool inRead_ = false;     // inside ReceiveRead
    bool sentInRead_ = false; // a request went out during the current read
    uint32_t staleAcks_ = 0;

    Rx state_ = Rx::Idle;
    uint8_t expected_ = 0;
    uint8_t count_ = 0;
    uint8_t sum_ = 0;
    uint8_t rxControl_ = 0;
    uint8_t rxStatus_ = 0;
    uint8_t rxN_ = 0;
    std::array<uint8_t, kMaxPayload> rxPayload_{};
};

} // namespace vantrel
