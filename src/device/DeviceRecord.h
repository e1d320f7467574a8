#pragma once
// One target microcontroller as the device database knows it. Enumerated properties are byte
// codes (their names are in DeviceCodes.h); memory areas are kept sorted by their order, and a
// bank is one range of one area, numbered over all areas in list order.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vantrel {

inline constexpr std::size_t kMaxAreaRanges = 24; // (start, size) ranges per memory area
inline constexpr std::size_t kMaxProtectedAddresses = 16;
inline constexpr std::size_t kMaxIdBytes = 30;     // aConstIDData and ChipSpecifics
inline constexpr uint32_t kMaxBankSize = 0x100000; // one megabyte
inline constexpr uint8_t kFlashOrder = 7;

struct BankRange {
    uint32_t start = 0;
    uint32_t size = 0;
    bool operator==(const BankRange&) const = default;
};

struct MemoryArea {
    uint8_t kind = 0;
    uint8_t order = 0;
    int32_t rangeCount = 0;
    std::array<BankRange, kMaxAreaRanges> ranges{};
    std::string name;
};

struct ProtectedBlock {
    int32_t count = 0;
    std::array<uint32_t, kMaxProtectedAddresses> addresses{};
    std::string name;
};

// The ID check made on the image before a download; the order is the name table's.
enum class IdCheck : uint8_t { None, M7906, ST7X, ST7, TMP91, TLCS870 };

struct HwRange {
    int32_t lower = 0;
    int32_t upper = 0;
    bool operator==(const HwRange&) const = default;
};

struct DeviceRecord {
    std::string manufacturer;
    std::string group;
    std::string package;
    std::string device; // the identity; unique in the table
    std::string name;
    uint8_t fromDeviceFile = 0; // source marker: 1 description file, 0 CSV list
    uint8_t bootSelect = 0;
    uint8_t bootWarning = 0;
    uint8_t sifType = 0;
    uint8_t algoS = 0;
    uint8_t algoP = 0;
    uint8_t vMin = 0; // units of 100 mV
    uint8_t vMax = 0;
    uint8_t vpp = 0; // 0: Vpp is the supply voltage or not connected
    uint32_t ram = 0;
    uint32_t rom = 0;
    std::vector<HwRange> hwRanges; // ends with a pair whose lower bound is 0
    uint8_t displayBLVersion = 0;
    uint8_t idLenMin = 0;
    uint8_t idLenMax = 0;
    uint32_t idLenAdr = 0;
    uint32_t idRangeFirst = 0;
    uint32_t idRangeLast = 0;
    std::vector<uint32_t> idAddresses;  // aIDAdr; empty: the device has none
    std::vector<uint8_t> constIdData;   // aConstIDData, at most kMaxIdBytes
    std::vector<uint8_t> chipSpecifics; // at most kMaxIdBytes
    IdCheck idCheck = IdCheck::None;
    uint8_t enableClearAll = 0;
    uint8_t enableClearChip = 0;
    uint8_t parallelSupport = 0; // bit 0 R, bit 1 W
    uint8_t serialSupport = 0;
    uint32_t version = 0;
    std::vector<ProtectedBlock> protectedBlocks; // file order
    std::vector<MemoryArea> areas;               // sorted by order
    uint32_t flashOffset = 0;
    std::vector<std::string> speedSettings; // file order
};

// Puts `area` into the sorted area list: behind the last area whose order is not greater.
void InsertProgArea(std::vector<MemoryArea>& areas, MemoryArea area);

} // namespace vantrel
