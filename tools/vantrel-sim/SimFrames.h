#pragma once
// The programmer's end of the frame format: 0x68 L L 0x68 C S N payload checksum 0x16, with
// L = 0..250 and checksum = (C + S + N + payload) mod 256. The reader takes the PC's requests
// (C = 0x00) byte by byte; the encoder builds replies (C = 0x80). Written on its own, apart from
// the PC's frame layer, so that the two check each other.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace vantrel::sim {

inline constexpr uint8_t kFrameStart = 0x68;
inline constexpr uint8_t kFrameEnd = 0x16;
inline constexpr uint8_t kAckByte = 0x90;
inline constexpr uint8_t kControlRequest = 0x00;
inline constexpr uint8_t kControlReply = 0x80;
inline constexpr std::size_t kMaxFramePayload = 250;

struct Request {
    uint8_t n = 0;
    std::span<const uint8_t> payload; // valid until the next byte is fed
};

class FrameReader {
  public:
    // One byte from the line. Returns true when it completed a request; Last() then holds it.
    // A bad frame is dropped (counted) and the reader waits for the next start byte.
    bool Feed(uint8_t byte);
    Request Last() const { return {n_, std::span<const uint8_t>(payload_.data(), length_)}; }
    unsigned Dropped() const { return dropped_; }
    // Forgets a frame half read (counted as dropped): after a pause in the middle of a frame,
    // its missing bytes are not coming, and the next byte starts afresh.
    void Reset() {
        if (state_ != State::Idle) ++dropped_;
        state_ = State::Idle;
    }

  private:
    enum class State {
        Idle,
        Length1,
        Length2,
        Start2,
        Control,
        Status,
        Command,
        Payload,
        Sum,
        End
    };
    bool Bad(uint8_t byte);

    State state_ = State::Idle;
    uint8_t length_ = 0;
    uint8_t count_ = 0;
    uint8_t sum_ = 0;
    uint8_t n_ = 0;
    std::array<uint8_t, kMaxFramePayload> payload_{};
    unsigned dropped_ = 0;
};

// A reply frame; the payload is cut at 250 bytes (no reply of the programmer is that long).
std::vector<uint8_t> EncodeReply(uint8_t status, uint8_t n, std::span<const uint8_t> payload);

} // namespace vantrel::sim
