#include "image/HexDoc.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/Crc16.h"

namespace vantrel {
namespace {

// CRC-16/KERMIT over every address of the ranges, in their order; runs of defined bytes go
// through the table as they are, gaps as fill bytes in blocks.
uint16_t ImageCrc(const MemoryImage& image, std::span<const AddressRange> programRanges,
                  uint8_t fill) {
    std::array<uint8_t, 4096> fillBlock;
    fillBlock.fill(fill);
    uint16_t crc = 0;
    auto addFill = [&](uint64_t count) {
        while (count > 0) {
            std::size_t n = static_cast<std::size_t>(std::min<uint64_t>(count, fillBlock.size()));
            crc = Crc16Kermit(crc, fillBlock.data(), n);
            count -= n;
        }
    };
    for (const AddressRange& range : programRanges) {
        if (range.last < range.first) continue;
        uint64_t cursor = range.first;
        uint64_t end = uint64_t{range.last} + 1;
        while (cursor < end) {
            uint64_t at = cursor;
            ImageRun run = image.NextRun(at);
            if (run.length == 0 || at >= end) {
                addFill(end - cursor);
                break;
            }
            addFill(at - cursor);
            uint64_t take = std::min(run.length, end - at);
            crc = Crc16Kermit(crc, run.data, static_cast<std::size_t>(take));
            cursor = at + take;
        }
    }
    return crc;
}

bool AreasInside(const MemoryImage& image, std::span<const AddressRange> programRanges) {
    std::vector<AddressRange> ranges(programRanges.begin(), programRanges.end());
    std::sort(ranges.begin(), ranges.end(),
              [](const AddressRange& a, const AddressRange& b) { return a.first < b.first; });
    uint64_t cursor = 0;
    for (ImageRun run; (run = image.NextRun(cursor)).length != 0; cursor += run.length) {
        uint64_t last = cursor + run.length - 1;
        // The ranges that start at or below the area's start; one of them must hold it all.
        auto end = std::upper_bound(
            ranges.begin(), ranges.end(), cursor,
            [](uint64_t address, const AddressRange& r) { return address < r.first; });
        bool inside =
            std::any_of(ranges.begin(), end, [&](const AddressRange& r) { return r.last >= last; });
        if (!inside) return false;
    }
    return true;
}

} // namespace

const char* AddErrorText(AddResult result) {
    switch (result) {
    case AddResult::Added:
        return nullptr;
    case AddResult::Overlaps:
        return "Multiple definitions for same address !";
    case AddResult::BeyondAddressSpace:
        // Ours: a block that would run past the last 32-bit address cannot be held.
        return "Address beyond 0xFFFFFFFF !";
    }
    return nullptr;
}

AddResult CHEXDoc::AddData(uint64_t address, uint32_t length, const uint8_t* bytes,
                           bool overwrite) {
    std::lock_guard guard(lock_);
    return AddDataLocked(address, length, bytes, overwrite);
}

AddResult CHEXDoc::AddDataLocked(uint64_t address, uint32_t length, const uint8_t* bytes,
                                 bool overwrite) {
    if (address >= kAddressSpace || length > kAddressSpace - address)
        return AddResult::BeyondAddressSpace;
    crcValid_ = false;
    if (overwrite) image_.Remove(address, length);
    return image_.Insert(address, bytes, length) ? AddResult::Added : AddResult::Overlaps;
}

void CHEXDoc::RemoveRange(uint64_t first, uint64_t length) {
    std::lock_guard guard(lock_);
    image_.Remove(first, length);
    crcValid_ = false;
}

int CHEXDoc::Relocate(int32_t offset) {
    {
        std::lock_guard guard(lock_);
        image_.Relocate(offset);
        crcValid_ = false;
    }
    SetModifiedFlag(true);
    return 0;
}

void CHEXDoc::ClearImage() {
    std::lock_guard guard(lock_);
    image_.Clear();
    crcValid_ = false;
    edited_.clear();
    editedSet_.clear();
}

void CHEXDoc::SetByte(uint32_t address, uint8_t value) {
    std::lock_guard guard(lock_);
    if (uint8_t* byte = image_.Find(address)) {
        if (*byte != value) {
            ImageChanged();
            crcValid_ = false;
            *byte = value;
        }
    } else {
        // A new byte changes what the programmer holds just as a changed one does.
        ImageChanged();
        AddDataLocked(address, 1, &value, false); // nothing defined there: it cannot overlap
    }
    if (editedSet_.insert(address).second) edited_.push_back(address);
}

uint32_t CHEXDoc::GetImageCrc(std::span<const AddressRange> programRanges, uint8_t fill) {
    std::lock_guard guard(lock_);
    if (crcValid_) return cachedCrc_;
    if (programRanges.empty()) return 0;
    cachedCrc_ = ImageCrc(image_, programRanges, fill);
    crcValid_ = true;
    return cachedCrc_;
}

bool CHEXDoc::AreasInsideDevice(std::span<const AddressRange> programRanges) const {
    std::lock_guard guard(lock_);
    return AreasInside(image_, programRanges);
}

void CHEXDoc::MarkCrcStale() {
    std::lock_guard guard(lock_);
    crcValid_ = false;
}

bool CHEXDoc::CrcValid() const {
    std::lock_guard guard(lock_);
    return crcValid_;
}

void CHEXDoc::SetModifiedFlag(bool modified) {
    modified_ = modified;
    ImageChanged();
}

} // namespace vantrel
