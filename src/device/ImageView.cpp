#include "device/ImageView.h"

#include <algorithm>
#include <array>

#include "device/DeviceRecord.h"

namespace vantrel {
namespace {

constexpr std::array<uint16_t, 256> MakeTable() {
    std::array<uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned crc = i;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0x8408u : crc >> 1;
        table[i] = static_cast<uint16_t>(crc);
    }
    return table;
}
constexpr auto kTable = MakeTable();

uint16_t Step(uint16_t crc, uint8_t byte) {
    return static_cast<uint16_t>((crc >> 8) ^ kTable[(crc ^ byte) & 0xFF]);
}

uint16_t FillCrc(uint16_t crc, uint8_t fill, uint64_t count) {
    for (uint64_t i = 0; i < count; ++i)
        crc = Step(crc, fill);
    return crc;
}

} // namespace

std::optional<uint8_t> ImageView::At(uint32_t address) const {
    // The last run that starts at or below the address.
    auto it = std::upper_bound(runs_.begin(), runs_.end(), address,
                               [](uint32_t a, const ImageBytes& r) { return a < r.start; });
    if (it == runs_.begin()) return std::nullopt;
    --it;
    uint64_t offset = uint64_t{address} - it->start;
    if (offset >= it->bytes.size()) return std::nullopt;
    return it->bytes[offset];
}

uint16_t Crc16Kermit(uint16_t crc, std::span<const uint8_t> bytes) {
    for (uint8_t b : bytes)
        crc = Step(crc, b);
    return crc;
}

uint16_t RangesCrc(std::span<const BankRange> ranges, const ImageView& image, uint8_t fill) {
    uint16_t crc = 0;
    auto runs = image.Runs();
    for (const auto& range : ranges) {
        uint64_t at = range.start;
        const uint64_t end = uint64_t{range.start} + range.size;
        // The first run that ends above the range's start.
        auto it = std::lower_bound(runs.begin(), runs.end(), at, [](const ImageBytes& r, uint64_t a) {
            return uint64_t{r.start} + r.bytes.size() <= a;
        });
        for (; at < end && it != runs.end() && it->start < end; ++it) {
            if (it->start > at) {
                crc = FillCrc(crc, fill, it->start - at);
                at = it->start;
            }
            uint64_t from = at - it->start;
            uint64_t to = std::min<uint64_t>(it->bytes.size(), end - it->start);
            crc = Crc16Kermit(crc, it->bytes.subspan(from, to - from));
            at = it->start + to;
        }
        if (at < end) crc = FillCrc(crc, fill, end - at);
    }
    return crc;
}

} // namespace vantrel
