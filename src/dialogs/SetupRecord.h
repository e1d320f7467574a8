#pragma once
// The programmer's own settings as they lie in its setup block (the first 64 bytes are what the
// PC writes back): power up and power down behaviour, the reset line, and the serial number.
//
//   byte 0      power up mode     0 "Wait for PC", 1 "Copy master (socket->target)"
//   byte 1      power down mode   0 "Stay on", 1 "2 min", 2 "5 min"
//   byte 2      reset mode        0 "Active (low) when idle", 1 "Inactive (high) when idle"
//   byte 3      reset output mode 0 Push-Pull, 1 Open Drain
//   bytes 4..5  reset active time in ms (little-endian)
//   bytes 6..7  reset inactive time in ms
//   bytes 16..19 serial number
// Every other byte belongs to the programmer and is written back as it was read.
#include <cstdint>

#include "link/ProtocolManager.h"

namespace vantrel {

struct SetupRecord {
    uint8_t powerUpMode = 0;
    uint8_t powerDownMode = 0;
    uint8_t resetMode = 0;
    uint8_t resetOutputMode = 0;
    uint16_t resetActiveMs = 20;
    uint16_t resetInactiveMs = 500;
    uint32_t serialNumber = 0;
};

SetupRecord ReadSetupRecord(const SetupBlock& block);
// Puts the record's fields into `block`, leaving its other bytes as they are.
void WriteSetupRecord(const SetupRecord& record, SetupBlock& block);

} // namespace vantrel
