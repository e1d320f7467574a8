// Bytes from the programmer, in any order and split, into the PC's side of the line: the frame
// receiver, the protocol engine's handling of every reply and acknowledge (status records, read
// back data into the image, setup blocks, refusals), with protocol ticks in between. The first
// byte chooses the job that runs (none, a download, a read back, a firmware download) and how
// often a tick comes. Nothing may crash, write past a buffer or break the shared state's
// limits.
#include <cstdint>
#include <cstdlib>

#include "../device/DeviceTestData.h"
#include "base/Reporter.h"
#include "device/DeviceSelection.h"
#include "device/DeviceTable.h"
#include "image/HexDoc.h"
#include "link/LinkTarget.h"
#include "link/ProtocolEngine.h"
#include "settings/ProgramOptions.h"
#include "support/FakeClock.h"

namespace {

using namespace vantrel;

class QuietReporter : public Reporter {
  public:
    using Reporter::Report;
    void Report(int32_t, const char*) override {}
};

class NullLine : public LinkLine {
  public:
    void PutByte(uint8_t) override {}
    void CloseOthers() override {}
    bool Halted() const override { return false; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    test::FakeClock clock;
    QuietReporter reporter;
    CHEXDoc doc;
    ProtocolManager pm;
    NullLine line;
    ProtocolEngine engine(pm, line, EngineSeams{clock, reporter, doc, {}, {}, {}});
    DeviceTable table;
    table.records = {test::Sample()};
    table.index = {{table.records[0].device, 0}};
    DeviceSelection selection(table, reporter);
    selection.SelectDevice(0);
    selection.bankFlags[1] = selection.bankFlags[3] = true;
    selection.RebuildProgramRanges();
    pm.SetTarget(MakeLinkTarget(selection, ProgramOptions{}));
    const uint8_t image[300] = {1, 2, 3};
    doc.AddData(0x1000, sizeof image, image);
    pm.SetFirmware(std::vector<uint8_t>(500, 0x5A));

    const uint8_t jobs[] = {0, 4, 5, 6};
    if (const uint8_t job = jobs[data[0] & 3]) pm.QueueJob(job);
    const unsigned tickEvery = 1 + (data[0] >> 2);
    engine.Tick();
    for (size_t i = 1; i < size; ++i) {
        engine.Receive(data[i]);
        if (i % tickEvery == 0) {
            clock.now += 53;
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
