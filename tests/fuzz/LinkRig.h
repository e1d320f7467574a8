#pragma once
// The PC's side of the line for the link targets: a protocol engine over a line that keeps
// what was sent, a sample device with two banks selected as the target, an image of 300 bytes
// at 0x1000 and a firmware of 500 bytes to download.
#include <cstdint>
#include <vector>

#include "../device/DeviceTestData.h"
#include "FuzzSupport.h"
#include "device/DeviceSelection.h"
#include "device/DeviceTable.h"
#include "image/HexDoc.h"
#include "link/LinkTarget.h"
#include "link/ProtocolEngine.h"
#include "settings/ProgramOptions.h"
#include "support/FakeClock.h"

namespace vantrel::fuzz {

// Keeps the bytes of the last frame put on the line (from its start byte on).
class RecordingLine : public LinkLine {
  public:
    void PutByte(uint8_t byte) override {
        if (byte == FrameLayer::kStart && frameDone_) {
            lastFrame.clear();
            frameDone_ = false;
        }
        lastFrame.push_back(byte);
        // 0x68 L L 0x68 C S N payload checksum 0x16: complete after L + 9 bytes.
        if (lastFrame.size() >= 2 && lastFrame.size() == std::size_t{lastFrame[1]} + 9u)
            frameDone_ = true;
    }
    void CloseOthers() override {}
    bool Halted() const override { return false; }

    std::vector<uint8_t> lastFrame;

  private:
    bool frameDone_ = true;
};

struct LinkRig {
    LinkRig() {
        table.records = {test::Sample()};
        table.index = {{table.records[0].device, 0}};
        selection.SelectDevice(0);
        selection.bankFlags[1] = selection.bankFlags[3] = true;
        selection.RebuildProgramRanges();
        target = MakeLinkTarget(selection, ProgramOptions{});
        pm.SetTarget(target);
        const uint8_t image[300] = {1, 2, 3};
        doc.AddData(0x1000, sizeof image, image);
        pm.SetFirmware(std::vector<uint8_t>(500, 0x5A));
    }

    test::FakeClock clock;
    QuietReporter reporter;
    CHEXDoc doc;
    ProtocolManager pm;
    RecordingLine line;
    ProtocolEngine engine{pm, line, EngineSeams{clock, reporter, doc, {}, {}, {}}};
    DeviceTable table;
    DeviceSelection selection{table, reporter};
    LinkTarget target;
};

} // namespace vantrel::fuzz
