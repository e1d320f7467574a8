// The emulator's side of the line: arbitrary bytes into its own frame reader, and every request
// that comes out of it into the programmer model, with time moving on. Its replies must be
// frames it could send (at most 259 bytes, or the one-byte acknowledge).
#include <cstdint>
#include <cstdlib>

#include "SimFrames.h"
#include "SimProgrammer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel::sim;
    SimSettings settings;
    settings.opMs = 5;
    Programmer programmer(settings);
    FrameReader reader;
    uint64_t now = 0;
    for (size_t i = 0; i < size; ++i) {
        now += 1;
        programmer.Advance(now);
        if (!reader.Feed(data[i])) continue;
        const Request request = reader.Last();
        const std::vector<uint8_t> reply = programmer.OnRequest(request.n, request.payload, now);
        if (reply.size() > 259) std::abort();
    }
    return 0;
}
