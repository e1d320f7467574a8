// The read-back reply alone: a read back runs on the sample target and every reply the input
// holds goes straight to the engine as a reply to the read command. Each reply is a flags byte,
// a length byte and that many payload bytes; flag 1 puts the address the engine asked for into
// the reply, flag 2 clears its error byte (so that replies get past the checks), flag 4 runs a
// protocol tick first. Whatever comes back, the image holds no more bytes than were asked for
// and nothing outside the range the read back covers, and the message keeps its limit.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <span>
#include <vector>

#include "LinkRig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    fuzz::LinkRig rig;
    // The image is read back into an empty document.
    rig.doc.ClearImage();
    rig.pm.QueueJob(kJobReadBack);
    rig.engine.Tick();

    // Every block the engine asked for: address (as sent) -> count. The blocks follow each
    // other, so together they cover their counts' sum.
    std::map<uint32_t, uint32_t> asked;
    auto noteRequest = [&] {
        const std::vector<uint8_t>& f = rig.line.lastFrame;
        if (f.size() == 14 && f[6] == kCmdRead)
            asked[uint32_t(f[7]) | uint32_t(f[8]) << 8 | uint32_t(f[9]) << 16 |
                  uint32_t(f[10]) << 24] = f[11];
    };
    noteRequest();

    std::size_t at = 0;
    while (at + 2 <= size) {
        const uint8_t flags = data[at];
        const std::size_t length = std::min<std::size_t>(data[at + 1], size - at - 2);
        std::vector<uint8_t> payload(data + at + 2, data + at + 2 + length);
        at += 2 + length;
        if (flags & 4) {
            rig.clock.now += 53;
            rig.engine.Tick();
        }
        // The request's payload (after 0x68 L L 0x68 C S N) starts with the address.
        const std::vector<uint8_t>& request = rig.line.lastFrame;
        if ((flags & 1) && payload.size() >= 5 && request.size() >= 11)
            std::copy_n(request.begin() + 7, 4, payload.begin() + 1);
        if ((flags & 2) && !payload.empty()) payload[0] = 0;
        rig.engine.OnReply(0, kCmdRead, payload);
        noteRequest();
    }

    uint64_t askedBytes = 0;
    for (const auto& [address, count] : asked)
        askedBytes += count;
    const auto image = rig.doc.Lock();
    if (image->TotalBytes() > askedBytes) std::abort(); // bytes nobody asked for
    if (!image->Empty() && (image->StartAddress() < rig.target.lowestStart ||
                            image->EndAddress() > rig.target.highestEnd))
        std::abort();
    const std::optional<std::string> message = rig.pm.Message();
    if (message && message->size() >= kMessageSize) std::abort();
    return 0;
}
