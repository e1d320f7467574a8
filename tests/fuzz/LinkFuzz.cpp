// Bytes from the programmer, in any order and split, into the PC's side of the line: the frame
// receiver, the protocol engine's handling of every reply and acknowledge (status records, read
// back data into the image, setup blocks, refusals), with protocol ticks in between. The first
// byte chooses the job that runs (none, a download, a read back, a firmware download) and how
// often a tick comes. Nothing may crash, write past a buffer or break the shared state's
// limits.
#include <cstdint>
#include <cstdlib>

#include "LinkRig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    if (size == 0) return 0;
    fuzz::LinkRig rig;
    ProtocolManager& pm = rig.pm;
    ProtocolEngine& engine = rig.engine;

    const uint8_t jobs[] = {0, 4, 5, 6};
    if (const uint8_t job = jobs[data[0] & 3]) pm.QueueJob(job);
    const unsigned tickEvery = 1 + (data[0] >> 2);
    engine.Tick();
    for (size_t i = 1; i < size; ++i) {
        engine.Receive(data[i]);
        if (i % tickEvery == 0) {
            rig.clock.now += 53;
            engine.Tick();
        }
    }
    const ProgrammerStatus status = pm.Status();
    if (status.supportedAlgorithms.size() > kMaxSupportedCodes ||
        status.supportedInterfaces.size() > kMaxSupportedCodes)
        std::abort();
    const std::optional<std::string> message = pm.Message();
    if (message && message->size() >= kMessageSize) std::abort();
    if (pm.JobCount() > static_cast<int>(kMaxJobs)) std::abort();
    return 0;
}
