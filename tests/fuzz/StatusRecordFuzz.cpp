// The status record alone: the first four bytes are the serial number from the setup block,
// the fifth chooses where a short reply ends, the rest is the reply payload. Besides never reading
// past it, a short reply must leave no trace once a complete one follows: the fields it took are
// the complete reply's own, the fields it left out are taken again.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <tuple>

#include "link/StatusRecord.h"

namespace {

using vantrel::ProgrammerStatus;

auto Fields(const ProgrammerStatus& s) {
    return std::tie(s.state, s.firmwareVersion, s.kept1, s.result, s.currentAddress, s.sessionId,
                    s.bootloaderId, s.interfaceInUse, s.hardwareVersion, s.inputVoltage,
                    s.targetVoltage, s.readByte, s.expectedByte, s.kept14, s.kept15, s.crc,
                    s.calibration1, s.calibration2, s.parallelFlag, s.hardwareVariant,
                    s.supportedAlgorithms, s.supportedInterfaces, s.serialNumber);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    if (size < 5) return 0;
    const uint8_t cut = data[4];
    const uint32_t serial = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 |
                            uint32_t(data[3]) << 24;
    const std::span<const uint8_t> payload(data + 5, size - 5);

    ProgrammerStatus whole;
    ParseStatusRecord(payload, serial, whole);
    if (whole.supportedAlgorithms.size() > kMaxSupportedCodes ||
        whole.supportedInterfaces.size() > kMaxSupportedCodes)
        std::abort();

    ProgrammerStatus shortFirst;
    ParseStatusRecord(payload.first(cut % (payload.size() + 1)), serial, shortFirst);
    ParseStatusRecord(payload, serial, shortFirst);
    if (Fields(shortFirst) != Fields(whole)) std::abort();
    return 0;
}
