#include "dialogs/SetupRecord.h"

namespace vantrel {

namespace {

constexpr std::size_t kPowerUp = 0, kPowerDown = 1, kResetMode = 2, kResetOutput = 3,
                      kResetActive = 4, kResetInactive = 6, kSerial = 16;

uint32_t Get(const SetupBlock& block, std::size_t at, int width) {
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | block[at + static_cast<std::size_t>(i)];
    return value;
}

void Put(SetupBlock& block, std::size_t at, int width, uint32_t value) {
    for (int i = 0; i < width; ++i)
        block[at + static_cast<std::size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
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
