#pragma once
// The status record, the reply payload of a status poll, read into the programmer's status.
#include <cstdint>
#include <span>

#include "base/ProgrammerStatus.h"

namespace vantrel {

// The programmer does not always send a parallel flag; without it the flag follows from the
// hardware version and, for versions the table does not know, from the serial number.
uint8_t DeriveParallelFlag(uint16_t hardwareVersion, uint32_t serialNumber);

// Reads the record field by field in its order. A field is taken only when all its bytes are
// there; a short reply leaves that field and every later one as it was. The hardware variant
// and the supported code lists come only from hardware from 5.00 or firmware from 18200 on.
// The parallel flag is derived when the reply ends before it. `serialNumber` is the one from
// the programmer's setup block.
void ParseStatusRecord(std::span<const uint8_t> payload, uint32_t serialNumber,
                       ProgrammerStatus& status);

} // namespace vantrel
