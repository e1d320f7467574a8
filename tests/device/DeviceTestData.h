#pragma once
// Small records for the device tests, built in code so each test shows what it depends on.
#include <string>

#include "device/DeviceRecord.h"

namespace vantrel::test {

inline MemoryArea Area(const std::string& name, uint8_t order, std::vector<BankRange> ranges,
                       uint8_t kind = 0) {
    MemoryArea area;
    area.name = name;
    area.order = order;
    area.kind = kind;
    for (const auto& r : ranges)
        area.ranges[static_cast<std::size_t>(area.rangeCount++)] = r;
    return area;
}

inline ProtectedBlock Block(const std::string& name, std::vector<uint32_t> addresses) {
    ProtectedBlock block;
    block.name = name;
    for (uint32_t a : addresses)
        block.addresses[static_cast<std::size_t>(block.count++)] = a;
    return block;
}

// A serial S60 device with a data flash area (order 2) in front of three flash banks.
inline DeviceRecord Sample(const std::string& device = "ND100") {
    DeviceRecord r;
    r.manufacturer = "Nordane";
    r.name = "ND 100";
    r.group = "ND";
    r.package = "QFP64";
    r.device = device;
    r.ram = 0x800;
    r.areas = {Area("DATA", 2, {{0xF000, 0x800}}, 1),
               Area("FLASH", 7, {{0x1000, 0x1000}, {0x2000, 0x1000}, {0x8000, 0x4000}})};
    r.serialSupport = 3;
    r.sifType = 0;
    r.algoS = 130;
    r.vMin = 27;
    r.vMax = 55;
    r.hwRanges = {{100, 400}, {0, 0}};
    r.idLenMin = 1;
    r.idLenMax = 7;
    r.idAddresses = {0xFFDF, 0xFFE3, 0xFFEB, 0xFFEF, 0xFFF3, 0xFFF7, 0xFFFB};
    r.speedSettings = {"Fast", "Slow"};
    return r;
}

} // namespace vantrel::test
