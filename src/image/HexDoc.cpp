#include "image/HexDoc.h"

#include <algorithm>
#include <array>
#include <vector>

#include "app/App.h"
#include "base/Crc16.h"

namespace vantrel {
namespace {

constexpr const char* kMultipleDefinitions = "Multiple definitions for same address !";
// Ours: a block that would run past the last 32-bit address cannot be held.
constexpr const char* kBeyondAddressSpace = "Address beyond 0xFFFFFFFF !";


} // namespace


void SetImageDirty(App& app) {
    app.pm.MarkImageDirty();
}

const char* CHEXDoc::AddData(uint64_t address, uint32_t length, const uint8_t* bytes) {
    auto guard = LockImage();
    if (address >= kAddressSpace || length > kAddressSpace - address) return kBeyondAddressSpace;
    if (!overwriteOnOverlap) {
        // The usual case first: a block that overlaps nothing is added by one lookup.
        crcValid_ = false;
        if (image_.Insert(address, bytes, length)) return nullptr;
        // It overlaps. The main window answers before this returns (Yes at once when the
        // batch ends with -exit).
        APP_ReportError(app_, 231);
        overwriteOnOverlap =
            app_.mainWindow && app_.mainWindow->OverwriteAnswer() == MsgAnswer::Yes;
    }
    if (overwriteOnOverlap) image_.Remove(address, length);
    const char* error = nullptr;
    InsertData(address, length, bytes, error);
    return error;
}

void CHEXDoc::InsertData(uint64_t address, uint32_t length, const uint8_t* bytes,
                         const char*& error) {
    crcValid_ = false;
    if (!image_.Insert(address, bytes, length)) error = kMultipleDefinitions;
}

void CHEXDoc::RemoveRange(uint64_t first, uint64_t length) {
    auto guard = LockImage();
    image_.Remove(first, length);
    crcValid_ = false;
}

int CHEXDoc::Relocate(int32_t offset) {
    {
        auto guard = LockImage();
        image_.Relocate(offset);
        crcValid_ = false;
    }
    app_.ui.Repaint();
    SetModifiedFlag(true);
    return 0;
}

void CHEXDoc::ClearImage() {
    auto guard = LockImage();
    image_.Clear();
    crcValid_ = false;
    edited_.clear();
    editedSet_.clear();
}

void CHEXDoc::SetByte(uint32_t address, uint8_t value) {
    auto guard = LockImage();
    if (uint8_t* byte = image_.Find(address)) {
        if (*byte != value) {
            SetImageDirty(app_);
            crcValid_ = false;
            *byte = value;
        }
    } else {
        // A new byte changes what the programmer holds just as a changed one does.
        SetImageDirty(app_);
        AddData(address, 1, &value);
    }
    if (editedSet_.insert(address).second) edited_.push_back(address);
}

uint32_t CHEXDoc::GetImageCrc(std::span<const AddressRange> programRanges, uint8_t fill) {
    if (crcValid_) return cachedCrc_;
    if (programRanges.empty()) {
        crcValid_ = false;
        return 0;
    }
    auto guard = LockImage();
    // Runs of defined bytes go through the table as they are; gaps as fill bytes in blocks.
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
            ImageRun run = image_.NextRun(at);
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
    cachedCrc_ = crc;
    crcValid_ = true;
    return cachedCrc_;
}

bool CHEXDoc::AreasInsideDevice(std::span<const AddressRange> programRanges) const {
    auto guard = LockImage();
    std::vector<AddressRange> ranges(programRanges.begin(), programRanges.end());
    std::sort(ranges.begin(), ranges.end(),
              [](const AddressRange& a, const AddressRange& b) { return a.first < b.first; });
    uint64_t cursor = 0;
    for (ImageRun run; (run = image_.NextRun(cursor)).length != 0; cursor += run.length) {
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

void CHEXDoc::SetModifiedFlag(bool modified) {
    app_.documentModified = modified;
    SetImageDirty(app_);
}

bool CHEXDoc::IsModified() const {
    return app_.documentModified;
}

} // namespace vantrel
