#pragma once
// The programmer's status record as the PC keeps it: the fields of the status reply of command 0
// in their order, plus the facts read from the setup block. State 200 ("No communication") is
// never sent by the programmer: the PC sets it at start and when a status poll times out.
#include <array>
#include <cstdint>
#include <vector>

namespace vantrel {

inline constexpr uint8_t kStateReady = 0;
inline constexpr uint8_t kStateNoCommunication = 200;
inline constexpr std::size_t kMaxSupportedCodes = 20;

struct ProgrammerStatus {
    uint8_t state = kStateNoCommunication;    // 1
    uint32_t firmwareVersion = 0;             // 2: decimal MMmmRR
    uint32_t kept1 = 0;                       // 3
    uint8_t result = 0;                       // 4: error code of the last operation
    uint32_t currentAddress = 0;              // 5: failing address after a failed operation
    uint32_t sessionId = 0;                   // 6
    std::array<char, 8> bootloaderId{};       // 7
    uint8_t interfaceInUse = 0;               // 8
    uint16_t hardwareVersion = 0;             // 9: decimal, 510 = 5.10
    uint16_t inputVoltage = 0;                // 10: Vin in mV
    uint16_t targetVoltage = 0;               // 11: in mV
    uint8_t readByte = 0;                     // 12: data byte read at the failing address
    uint8_t expectedByte = 0;                 // 13: data byte expected there
    uint16_t kept14 = 0;                      // 14
    uint8_t kept15 = 0;                       // 15
    uint16_t crc = 0;                         // 16: CRC of the data held by the programmer
    uint16_t calibration1 = 0;                // 17
    uint16_t calibration2 = 0;                // 18
    uint8_t parallelFlag = 0;                 // 19
    uint8_t hardwareVariant = 0;              // 20
    std::vector<uint8_t> supportedAlgorithms; // 21: at most kMaxSupportedCodes
    std::vector<uint8_t> supportedInterfaces; // 22: at most kMaxSupportedCodes

    // From the programmer's setup block.
    uint32_t serialNumber = 0;
};

} // namespace vantrel
