#include "dialogs/SetupRecord.h"

#include <span>

#include "base/LittleEndian.h"

namespace vantrel {

namespace {

constexpr std::size_t kPowerUp = 0, kPowerDown = 1, kResetMode = 2, kResetOutput = 3,
                      kResetActive = 4, kResetInactive = 6, kSerial = 16;

uint32_t Get(const SetupBlock& block, std::size_t at, std::size_t width) {
    return static_cast<uint32_t>(ReadLittleEndian(std::span(block).subspan(at, width)));
}

void Put(SetupBlock& block, std::size_t at, std::size_t width, uint32_t value) {
    WriteLittleEndian(std::span(block).subspan(at, width), value);
}

} // namespace

SetupRecord ReadSetupRecord(const SetupBlock& block) {
    SetupRecord r;
    r.powerUpMode = block[kPowerUp];
    r.powerDownMode = block[kPowerDown];
    r.resetMode = block[kResetMode];
    r.resetOutputMode = block[kResetOutput];
    r.resetActiveMs = static_cast<uint16_t>(Get(block, kResetActive, 2));
    r.resetInactiveMs = static_cast<uint16_t>(Get(block, kResetInactive, 2));
    r.serialNumber = Get(block, kSerial, 4);
    return r;
}

void WriteSetupRecord(const SetupRecord& r, SetupBlock& block) {
    block[kPowerUp] = r.powerUpMode;
    block[kPowerDown] = r.powerDownMode;
    block[kResetMode] = r.resetMode;
    block[kResetOutput] = r.resetOutputMode;
    Put(block, kResetActive, 2, r.resetActiveMs);
    Put(block, kResetInactive, 2, r.resetInactiveMs);
    Put(block, kSerial, 4, r.serialNumber);
}

} // namespace vantrel
