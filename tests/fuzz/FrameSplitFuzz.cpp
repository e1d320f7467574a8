// The frame receiver fed the same bytes at once and in pieces. The input is a script: each
// step is a kind byte and what it needs: raw bytes (a length, then the bytes), a well-formed
// reply frame (status, command, a length, the payload; its checksum is made here) or a cut
// with up to two protocol ticks. The pieces come as a port delivers them, with ticks between
// them but never as many as the quiet time that ends a resynchronisation, so both receivers must
// hand up the same replies and acknowledges in the same order. A request awaits its answer
// (the first byte chooses its slot) so that acknowledges count; ticks go only to a receiver
// that awaits nothing, so that no time-out can tell them apart.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "link/FrameLayer.h"

namespace {

using vantrel::FrameLayer;

// What one receiver handed up, in order; a reply as its status, command and payload.
class Recorder : public vantrel::FrameSink {
  public:
    void PutByte(uint8_t) override {}
    void OnReply(uint8_t status, uint8_t n, std::span<const uint8_t> payload) override {
        events.push_back({'R', status, n});
        events.back().insert(events.back().end(), payload.begin(), payload.end());
    }
    void OnAck(uint8_t control, uint8_t n) override { events.push_back({'A', control, n}); }
    void OnTimeout(uint8_t control, uint8_t n) override { events.push_back({'T', control, n}); }

    std::vector<std::vector<uint8_t>> events;
};

struct Script {
    std::vector<uint8_t> bytes;
    // Where a piece ends, and how many ticks follow it.
    std::vector<std::pair<std::size_t, int>> cuts;
};

Script ReadScript(const uint8_t* data, size_t size) {
    Script script;
    auto next = [&](size_t& at) -> uint8_t { return at < size ? data[at++] : 0; };
    size_t at = 0;
    while (at < size) {
        const uint8_t kind = next(at);
        switch (kind % 3) {
        case 0: { // raw bytes
            const size_t length = std::min<size_t>(next(at), size - at);
            script.bytes.insert(script.bytes.end(), data + at, data + at + length);
            at += length;
            break;
        }
        case 1: { // a well-formed reply frame
            const uint8_t status = next(at);
            const uint8_t n = next(at);
            const size_t asked = next(at);
            const size_t length = std::min({asked, size - at, FrameLayer::kMaxPayload});
            uint8_t sum = static_cast<uint8_t>(FrameLayer::kReply + status + n);
            const auto len = static_cast<uint8_t>(length);
            for (uint8_t b :
                 {FrameLayer::kStart, len, len, FrameLayer::kStart, FrameLayer::kReply, status, n})
                script.bytes.push_back(b);
            for (size_t i = 0; i < length; ++i) {
                script.bytes.push_back(data[at + i]);
                sum = static_cast<uint8_t>(sum + data[at + i]);
            }
            at += length;
            script.bytes.push_back(sum);
            script.bytes.push_back(FrameLayer::kEnd);
            break;
        }
        default: // a cut
            script.cuts.push_back({script.bytes.size(), (kind / 3) % FrameLayer::kQuietTicks});
            break;
        }
    }
    return script;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t slot = data[0] % FrameLayer::kSlots;
    const Script script = ReadScript(data + 1, size - 1);
    const uint8_t request[4] = {1, 2, 3, 4};

    Recorder onceEvents;
    FrameLayer once(onceEvents);
    once.Send(slot, FrameLayer::kRequest, request, 5);
    for (uint8_t b : script.bytes)
        once.Receive(b);

    Recorder piecesEvents;
    FrameLayer pieces(piecesEvents);
    pieces.Send(slot, FrameLayer::kRequest, request, 5);
    std::size_t fed = 0;
    int quietTicks = 0; // since the last byte: the line must never fall quiet in between
    for (const auto& [end, ticks] : script.cuts) {
        if (fed < end) quietTicks = 0;
        for (; fed < end; ++fed)
            pieces.Receive(script.bytes[fed]);
        for (int t = 0;
             t < ticks && pieces.AwaitingSlot() < 0 && quietTicks + 1 < FrameLayer::kQuietTicks;
             ++t, ++quietTicks)
            pieces.Tick();
    }
    for (; fed < script.bytes.size(); ++fed)
        pieces.Receive(script.bytes[fed]);

    if (onceEvents.events != piecesEvents.events) std::abort();
    return 0;
}
