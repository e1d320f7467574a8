// The status record read field by field: short replies, the derived parallel flag, the code
// lists and every truncation of a full record.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "link/StatusRecord.h"

namespace vantrel {
namespace {

// A full record from a 5.10 programmer; the comments name the fields and their values.
const std::vector<uint8_t> kFullRecord = {
    0x03,                                       // 1 state 3
    0x81, 0x47, 0x00, 0x00,                     // 2 firmware 18305
    0x44, 0x33, 0x22, 0x11,                     // 3 kept 0x11223344
    0x07,                                       // 4 result 7
    0x45, 0x23, 0x01, 0x00,                     // 5 address 0x12345
    0xBE, 0xBA, 0xFE, 0xCA,                     // 6 session 0xCAFEBABE
    'B',  'L',  '-',  'V',  '1', '.', '0', '2', // 7 bootloader "BL-V1.02"
    0x01,                                       // 8 interface 1
    0xFE, 0x01,                                 // 9 hardware 510
    0xE0, 0x2E,                                 // 10 Vin 12000 mV
    0xE4, 0x0C,                                 // 11 target 3300 mV
    0xAA,                                       // 12 read byte
    0x55,                                       // 13 expected byte
    0xEF, 0xBE,                                 // 14 kept 0xBEEF
    0x42,                                       // 15 kept 0x42
    0x34, 0x12,                                 // 16 CRC 0x1234
    0x02, 0x01,                                 // 17 calibration 0x0102
    0x04, 0x03,                                 // 18 calibration 0x0304
    0x01,                                       // 19 parallel flag 1
    0x02,                                       // 20 variant 2
    0x03, 130,  139,  140,                      // 21 three algorithm codes
    0x02, 12,   14,                             // 22 two interface codes
};
constexpr std::size_t kParallelOffset = 44;
constexpr uint32_t kSerial = 1234;

// A status where every field differs from the full record, so a kept field shows.
ProgrammerStatus Previous() {
    ProgrammerStatus s;
    s.state = 9;
    s.firmwareVersion = 1;
    s.kept1 = 2;
    s.result = 3;
    s.currentAddress = 4;
    s.sessionId = 5;
    s.bootloaderId = {'o', 'l', 'd', '-', 'b', 'o', 'o', 't'};
    s.interfaceInUse = 2;
    s.hardwareVersion = 6;
    s.inputVoltage = 7;
    s.targetVoltage = 8;
    s.readByte = 9;
    s.expectedByte = 10;
    s.kept14 = 11;
    s.kept15 = 12;
    s.crc = 13;
    s.calibration1 = 14;
    s.calibration2 = 15;
    s.parallelFlag = 5;
    s.hardwareVariant = 16;
    s.supportedAlgorithms = {1, 2};
    s.supportedInterfaces = {3};
    s.serialNumber = 17;
    return s;
}

ProgrammerStatus Parse(const std::vector<uint8_t>& bytes, ProgrammerStatus status = Previous(),
                       uint32_t serial = kSerial) {
    ParseStatusRecord(bytes, serial, status);
    return status;
}

// Each field with the offset just past its last byte in kFullRecord, and a check that two
// statuses agree on it. The parallel flag is left to its own tests (it may be derived).
struct Field {
    std::string name;
    std::size_t end;
    std::function<bool(const ProgrammerStatus&, const ProgrammerStatus&)> same;
};

template <typename M> Field F(std::string name, std::size_t end, M ProgrammerStatus::*member) {
    return {std::move(name), end, [member](const ProgrammerStatus& a, const ProgrammerStatus& b) {
                return a.*member == b.*member;
            }};
}

std::vector<Field> Fields() {
    using S = ProgrammerStatus;
    return {F("state", 1, &S::state),
            F("firmwareVersion", 5, &S::firmwareVersion),
            F("kept1", 9, &S::kept1),
            F("result", 10, &S::result),
            F("currentAddress", 14, &S::currentAddress),
            F("sessionId", 18, &S::sessionId),
            F("bootloaderId", 26, &S::bootloaderId),
            F("interfaceInUse", 27, &S::interfaceInUse),
            F("hardwareVersion", 29, &S::hardwareVersion),
            F("inputVoltage", 31, &S::inputVoltage),
            F("targetVoltage", 33, &S::targetVoltage),
            F("readByte", 34, &S::readByte),
            F("expectedByte", 35, &S::expectedByte),
            F("kept14", 37, &S::kept14),
            F("kept15", 38, &S::kept15),
            F("crc", 40, &S::crc),
            F("calibration1", 42, &S::calibration1),
            F("calibration2", 44, &S::calibration2),
            F("hardwareVariant", 46, &S::hardwareVariant),
            F("supportedAlgorithms", 50, &S::supportedAlgorithms),
            F("supportedInterfaces", 53, &S::supportedInterfaces),
            F("serialNumber", 0, &S::serialNumber)}; // never in the record: always kept
}

TEST(StatusRecord, FullRecordFillsEveryField) {
    ASSERT_EQ(kFullRecord.size(), 53u);
    const ProgrammerStatus s = Parse(kFullRecord);
    EXPECT_EQ(s.state, 3);
    EXPECT_EQ(s.firmwareVersion, 18305u);
    EXPECT_EQ(s.kept1, 0x11223344u);
    EXPECT_EQ(s.result, 7);
    EXPECT_EQ(s.currentAddress, 0x12345u);
    EXPECT_EQ(s.sessionId, 0xCAFEBABEu);
    EXPECT_EQ(std::string(s.bootloaderId.begin(), s.bootloaderId.end()), "BL-V1.02");
    EXPECT_EQ(s.interfaceInUse, 1);
    EXPECT_EQ(s.hardwareVersion, 510);
    EXPECT_EQ(s.inputVoltage, 12000);
    EXPECT_EQ(s.targetVoltage, 3300);
    EXPECT_EQ(s.readByte, 0xAA);
    EXPECT_EQ(s.expectedByte, 0x55);
    EXPECT_EQ(s.kept14, 0xBEEF);
    EXPECT_EQ(s.kept15, 0x42);
    EXPECT_EQ(s.crc, 0x1234);
    EXPECT_EQ(s.calibration1, 0x0102);
    EXPECT_EQ(s.calibration2, 0x0304);
    EXPECT_EQ(s.parallelFlag, 1); // sent, although 5.10 alone would derive 0
    EXPECT_EQ(s.hardwareVariant, 2);
    EXPECT_EQ(s.supportedAlgorithms, (std::vector<uint8_t>{130, 139, 140}));
    EXPECT_EQ(s.supportedInterfaces, (std::vector<uint8_t>{12, 14}));
    EXPECT_EQ(s.serialNumber, 17u);
}

TEST(StatusRecord, TwoByteReplyUpdatesOnlyTheState) {
    const ProgrammerStatus before = Parse(kFullRecord);
    const ProgrammerStatus after = Parse({0x21, 0x99}, before);
    EXPECT_EQ(after.state, 0x21);
    EXPECT_EQ(after.parallelFlag, before.parallelFlag);
    for (const Field& f : Fields()) {
        if (f.name == "state") continue;
        EXPECT_TRUE(f.same(after, before)) << f.name;
    }
}

TEST(StatusRecord, ParallelFlagDerivedWhenTheReplyEndsBeforeIt) {
    struct Case {
        uint16_t hardware;
        uint32_t serial;
        uint8_t flag;
    };
    const Case cases[] = {
        {100, 3500, 1},  {200, 3500, 1},  {300, 30000, 1}, {310, 1, 0},     {311, 1, 0},
        {320, 1, 0},     {500, 1, 0},     {510, 1, 0},     {520, 1, 0},     {530, 1, 0},
        {570, 1, 0},     {571, 1, 0},     {572, 1, 0},     {575, 1, 0},     {580, 1, 0},
        {582, 1, 0},     {400, 2999, 1},  {400, 3000, 0},  {400, 3999, 0},  {400, 4000, 1},
        {540, 29999, 1}, {540, 30000, 0}, {540, 39999, 0}, {540, 40000, 1}, {581, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("hardware " + std::to_string(c.hardware) + " serial " +
                     std::to_string(c.serial));
        std::vector<uint8_t> record(kFullRecord.begin(), kFullRecord.begin() + kParallelOffset);
        record[27] = static_cast<uint8_t>(c.hardware);
        record[28] = static_cast<uint8_t>(c.hardware >> 8);
        EXPECT_EQ(Parse(record, Previous(), c.serial).parallelFlag, c.flag);
        EXPECT_EQ(DeriveParallelFlag(c.hardware, c.serial), c.flag);
    }
}

TEST(StatusRecord, ExtendedFieldsOnlyFromNewerProgrammers) {
    struct Case {
        std::string name;
        uint16_t hardware;
        uint32_t firmware;
        bool extended;
    };
    const Case cases[] = {{"old hardware, old firmware", 499, 18199, false},
                          {"hardware 5.00", 500, 18199, true},
                          {"firmware 18200", 499, 18200, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> record = kFullRecord;
        record[27] = static_cast<uint8_t>(c.hardware);
        record[28] = static_cast<uint8_t>(c.hardware >> 8);
        for (std::size_t i = 0; i < 4; ++i)
            record[1 + i] = static_cast<uint8_t>(c.firmware >> (8 * i));
        const ProgrammerStatus s = Parse(record);
        EXPECT_EQ(s.parallelFlag, 1);
        EXPECT_EQ(s.hardwareVariant, c.extended ? 2 : 16);
        EXPECT_EQ(s.supportedAlgorithms.size(), c.extended ? 3u : 2u);
        EXPECT_EQ(s.supportedInterfaces.size(), c.extended ? 2u : 1u);
    }
}

TEST(StatusRecord, LongCodeListKeepsTwentyAndReachesTheNextField) {
    std::vector<uint8_t> record(kFullRecord.begin(), kFullRecord.begin() + kParallelOffset + 2);
    record.push_back(23);
    for (uint8_t code = 100; code < 123; ++code)
        record.push_back(code);
    record.insert(record.end(), {2, 12, 14});
    const ProgrammerStatus s = Parse(record);
    ASSERT_EQ(s.supportedAlgorithms.size(), kMaxSupportedCodes);
    EXPECT_EQ(s.supportedAlgorithms.front(), 100);
    EXPECT_EQ(s.supportedAlgorithms.back(), 119);
    EXPECT_EQ(s.supportedInterfaces, (std::vector<uint8_t>{12, 14}));
}

TEST(StatusRecord, CodeListCountPastTheEndKeepsTheOldList) {
    std::vector<uint8_t> record(kFullRecord.begin(), kFullRecord.begin() + kParallelOffset + 2);
    record.insert(record.end(), {5, 130, 139}); // five announced, two sent
    const ProgrammerStatus s = Parse(record);
    EXPECT_EQ(s.hardwareVariant, 2);
    EXPECT_EQ(s.supportedAlgorithms, Previous().supportedAlgorithms);
    EXPECT_EQ(s.supportedInterfaces, Previous().supportedInterfaces);
}

// Every prefix in a buffer of exactly its length, so a read past the end is caught under the
// sanitizers; a field is taken exactly when all its bytes are in the prefix.
TEST(StatusRecord, EveryTruncationTakesOnlyCompleteFields) {
    const ProgrammerStatus full = Parse(kFullRecord);
    const ProgrammerStatus previous = Previous();
    for (std::size_t length = 0; length <= kFullRecord.size(); ++length) {
        SCOPED_TRACE("length " + std::to_string(length));
        const std::vector<uint8_t> prefix(
            kFullRecord.begin(), kFullRecord.begin() + static_cast<std::ptrdiff_t>(length));
        const ProgrammerStatus s = Parse(prefix);
        for (const Field& f : Fields()) {
            const bool taken = f.end != 0 && length >= f.end;
            EXPECT_TRUE(f.same(s, taken ? full : previous)) << f.name;
        }
        // Sent from offset 44 on; before that derived (0 for 5.10) once the hardware version
        // came in this reply, else kept.
        const uint8_t flag = length > kParallelOffset ? 1
                             : length >= 29           ? 0
                                                      : previous.parallelFlag;
        EXPECT_EQ(s.parallelFlag, flag);
    }
}

} // namespace
} // namespace vantrel
