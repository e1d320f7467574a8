#include "image/MemoryImage.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

namespace vantrel {

namespace {
// The room an area gets when it outgrows its buffer: twice what it needs.
std::size_t Grown(std::size_t needed, std::size_t least) {
    return std::max(2 * needed, least);
}
} // namespace

AreaBytes::AreaBytes(std::size_t capacity) {
    if (capacity > kInline) Reallocate(capacity, 0);
}

AreaBytes::AreaBytes(AreaBytes&& other) noexcept {
    TakeFrom(other);
}

AreaBytes& AreaBytes::operator=(AreaBytes&& other) noexcept {
    if (this != &other) {
        Release();
        TakeFrom(other);
    }
    return *this;
}

AreaBytes::~AreaBytes() {
    Release();
}

void AreaBytes::Release() {
    if (OnHeap()) delete[] heap_.buffer;
    capacity_ = kInline;
    size_ = 0;
}

void AreaBytes::TakeFrom(AreaBytes& other) {
    capacity_ = other.capacity_;
    size_ = other.size_;
    if (other.OnHeap())
        heap_ = other.heap_;
    else
        std::memcpy(inline_, other.inline_, other.size_);
    other.capacity_ = kInline; // the buffer is ours now
    other.size_ = 0;
}

void AreaBytes::Reallocate(std::size_t capacity, std::size_t head) {
    auto* buffer = new uint8_t[capacity];
    if (size_ > 0) std::memcpy(buffer + head, Data(), size_);
    if (OnHeap()) delete[] heap_.buffer;
    heap_ = {buffer, head};
    capacity_ = capacity;
}

void AreaBytes::Append(const uint8_t* bytes, std::size_t count) {
    if (count == 0) return;
    if (!OnHeap() && size_ + count <= kInline) {
        std::memcpy(inline_ + size_, bytes, count);
        size_ += count;
        return;
    }
    if (!OnHeap() || capacity_ - heap_.head - size_ < count)
        Reallocate(Grown(size_ + count, 2 * kInline), 0);
    std::memcpy(heap_.buffer + heap_.head + size_, bytes, count);
    size_ += count;
}

void AreaBytes::Prepend(const uint8_t* bytes, std::size_t count) {
    if (count == 0) return;
    if (!OnHeap() && size_ + count <= kInline) {
        std::memmove(inline_ + count, inline_, size_);
        std::memcpy(inline_, bytes, count);
        size_ += count;
        return;
    }
    if (!OnHeap() || heap_.head < count) {
        std::size_t capacity = Grown(size_ + count, 2 * kInline);
        Reallocate(capacity, capacity - size_); // all the free room in front
    }
    heap_.head -= count;
    size_ += count;
    std::memcpy(heap_.buffer + heap_.head, bytes, count);
}

void AreaBytes::DropFront(std::size_t count) {
    count = std::min(count, size_);
    if (OnHeap())
        heap_.head += count;
    else
        std::memmove(inline_, inline_ + count, size_ - count);
    size_ -= count;
}

void AreaBytes::Truncate(std::size_t size) {
    size_ = std::min(size, size_);
}

MemoryImage::Map::const_iterator MemoryImage::AreaAt(uint64_t address) const {
    auto it = areas_.upper_bound(address);
    if (it == areas_.begin()) return areas_.end();
    --it;
    return address < End(it) ? it : areas_.end();
}

MemoryImage::Map::iterator MemoryImage::Rekey(Map::iterator it, uint64_t start) {
    auto node = areas_.extract(it);
    node.key() = start;
    return areas_.insert(std::move(node)).position;
}

void MemoryImage::JoinWithNext(Map::iterator it) {
    auto next = std::next(it);
    if (next == areas_.end() || next->first != End(it)) return;
    // The smaller area's bytes are copied into the larger one, so a chain of joins costs
    // no more than sorting the bytes would.
    if (it->second.Size() >= next->second.Size()) {
        it->second.Append(next->second.Data(), next->second.Size());
        areas_.erase(next);
    } else {
        next->second.Prepend(it->second.Data(), it->second.Size());
        uint64_t start = it->first;
        areas_.erase(it);
        Rekey(next, start);
    }
}

bool MemoryImage::Insert(uint64_t address, const uint8_t* bytes, uint64_t length) {
    ++revision_;
    if (length == 0) return true;
    if (address >= kAddressSpace || length > kAddressSpace - address) return false;
    uint64_t end = address + length;
    // The first area that starts after the block's address. Files mostly list their records
    // in address order: a block at or after the end of the last area needs no search.
    auto next = !areas_.empty() && address >= End(std::prev(areas_.end()))
                    ? areas_.end()
                    : areas_.upper_bound(address);
    if (next != areas_.end() && next->first < end) return false; // overlaps the next area
    if (next != areas_.begin()) {
        auto prev = std::prev(next);
        if (End(prev) > address) return false; // overlaps the area it begins in
        if (End(prev) == address) {            // continues an area
            prev->second.Append(bytes, length);
            JoinWithNext(prev);
            total_ += length;
            return true;
        }
    }
    if (next != areas_.end() && next->first == end) { // ends right before an area
        next->second.Prepend(bytes, length);
        Rekey(next, address);
    } else {
        AreaBytes area(length);
        area.Append(bytes, length);
        areas_.emplace_hint(next, address, std::move(area));
    }
    total_ += length;
    return true;
}

void MemoryImage::Remove(uint64_t first, uint64_t length) {
    ++revision_;
    if (length == 0 || areas_.empty()) return;
    uint64_t end = std::min(first + length, kAddressSpace); // one past the last address
    auto it = areas_.upper_bound(first);
    if (it != areas_.begin()) {
        auto prev = std::prev(it);
        if (End(prev) > first) it = prev; // the range begins inside this area
    }
    while (it != areas_.end() && it->first < end) {
        uint64_t start = it->first;
        uint64_t areaEnd = End(it);
        AreaBytes& bytes = it->second;
        if (first <= start && areaEnd <= end) { // wholly inside the range
            total_ -= bytes.Size();
            it = areas_.erase(it);
        } else if (first <= start) { // the range covers the start, ends inside
            bytes.DropFront(end - start);
            total_ -= end - start;
            Rekey(it, end);
            return;
        } else if (areaEnd > end) { // the range lies strictly inside: split
            AreaBytes tail(areaEnd - end);
            tail.Append(bytes.Data() + (end - start), areaEnd - end);
            bytes.Truncate(first - start);
            total_ -= end - first;
            areas_.emplace_hint(std::next(it), end, std::move(tail));
            return;
        } else { // the range begins inside and reaches the end
            bytes.Truncate(first - start);
            total_ -= areaEnd - first;
            ++it;
        }
    }
}

void MemoryImage::Relocate(int32_t offset) {
    ++revision_;
    if (areas_.empty()) return;
    uint64_t shift = static_cast<uint32_t>(offset); // sign-extended modulo 2^32
    Map moved;
    while (!areas_.empty()) {
        auto node = areas_.extract(areas_.begin());
        uint64_t start = (node.key() + shift) % kAddressSpace;
        uint64_t size = node.mapped().Size();
        if (start + size > kAddressSpace) { // carried across 0xFFFFFFFF: split at the wrap
            uint64_t before = kAddressSpace - start;
            AreaBytes wrapped(size - before);
            wrapped.Append(node.mapped().Data() + before, size - before);
            node.mapped().Truncate(before);
            moved.emplace(0, std::move(wrapped));
        }
        node.key() = start;
        moved.insert(std::move(node));
    }
    areas_ = std::move(moved);
    // Areas that were apart on both sides of the wrap can touch now.
    for (auto it = areas_.begin(); it != areas_.end();) {
        auto next = std::next(it);
        if (next != areas_.end() && next->first == End(it)) {
            uint64_t start = it->first;
            JoinWithNext(it);
            it = areas_.find(start); // the joined area keeps this start
        } else {
            it = next;
        }
    }
}

void MemoryImage::Clear() {
    ++revision_;
    areas_.clear();
    total_ = 0;
}

uint8_t MemoryImage::GetByte(uint64_t address, uint8_t fill) const {
    auto it = AreaAt(address);
    return it == areas_.end() ? fill : it->second.Data()[address - it->first];
}

uint8_t* MemoryImage::Find(uint64_t address) {
    auto it = AreaAt(address);
    if (it == areas_.end()) return nullptr;
    return const_cast<uint8_t*>(it->second.Data()) + (address - it->first);
}

void MemoryImage::ReadRange(uint8_t* buffer, uint64_t first, uint64_t length, uint8_t fill) const {
    uint64_t cursor = first;
    uint64_t end = first + length;
    while (cursor < end) {
        uint64_t at = cursor;
        ImageRun run = NextRun(at);
        if (run.length == 0 || at >= end) {
            std::memset(buffer + (cursor - first), fill, end - cursor);
            return;
        }
        if (at > cursor) std::memset(buffer + (cursor - first), fill, at - cursor);
        uint64_t take = std::min(run.length, end - at);
        std::memcpy(buffer + (at - first), run.data, take);
        cursor = at + take;
    }
}

ImageRun MemoryImage::NextRun(uint64_t& cursor) const {
    auto it = areas_.upper_bound(cursor);
    if (it != areas_.begin()) {
        auto prev = std::prev(it);
        if (cursor < End(prev))
            return {prev->second.Data() + (cursor - prev->first), End(prev) - cursor};
    }
    if (it == areas_.end()) return {};
    cursor = it->first;
    return {it->second.Data(), it->second.Size()};
}

uint64_t MemoryImage::StartAddress() const {
    return areas_.empty() ? 0 : areas_.begin()->first;
}

uint64_t MemoryImage::EndAddress() const {
    return areas_.empty() ? 0 : End(std::prev(areas_.end())) - 1;
}

} // namespace vantrel
