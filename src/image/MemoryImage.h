#pragma once
// The sparse memory image: bytes at 32-bit addresses held as areas of contiguous bytes, kept
// sorted by address in an ordered map, never overlapping, with touching neighbours joined.
// Every operation finds its place with one lookup in the map (never a walk over all areas),
// a block that lands after the last area (a file read in address order) with none, and a
// small area needs no allocation of its own, so images of 100 000 areas load and save about as fast
// as one large area of the same bytes.
//
// Addresses are carried as 64-bit values so that "address + length" never wraps; every
// defined byte lies below 2^32. This class knows nothing about files, locks or messages.
#include <cstddef>
#include <cstdint>
#include <map>

namespace vantrel {

inline constexpr uint64_t kAddressSpace = uint64_t{1} << 32;

// One area's bytes with free room at both ends, so that appending and prepending are both
// cheap (the room doubles when it runs out) and the bytes stay contiguous for NextRun. Up to
// 16 bytes live in the object itself: most areas of a scattered image are small and never
// grow, and they then cost no allocation of their own.
class AreaBytes {
  public:
    explicit AreaBytes(std::size_t capacity = 0);
    AreaBytes(AreaBytes&& other) noexcept;
    AreaBytes& operator=(AreaBytes&& other) noexcept;
    AreaBytes(const AreaBytes&) = delete;
    AreaBytes& operator=(const AreaBytes&) = delete;
    ~AreaBytes();

    const uint8_t* Data() const { return OnHeap() ? heap_.buffer + heap_.head : inline_; }
    uint8_t* Data() { return OnHeap() ? heap_.buffer + heap_.head : inline_; }
    std::size_t Size() const { return size_; }
    std::size_t Capacity() const { return capacity_; }

    void Append(const uint8_t* bytes, std::size_t count);
    void Prepend(const uint8_t* bytes, std::size_t count);
    void DropFront(std::size_t count);
    void Truncate(std::size_t size);

  private:
    static constexpr std::size_t kInline = 16;
    bool OnHeap() const { return capacity_ > kInline; }
    // Moves the bytes into a new buffer of `capacity` (more than kInline), at `head`.
    void Reallocate(std::size_t capacity, std::size_t head);
    void Release();
    void TakeFrom(AreaBytes& other);

    struct Heap {
        uint8_t* buffer;
        std::size_t head; // free room in front of the bytes
    };
    union {
        Heap heap_;               // capacity_ > kInline
        uint8_t inline_[kInline]; // capacity_ == kInline, the bytes at its start
    };
    std::size_t capacity_ = kInline;
    std::size_t size_ = 0;
};

// What NextRun returns: the defined bytes at the cursor up to the end of their area.
struct ImageRun {
    const uint8_t* data = nullptr;
    uint64_t length = 0; // 0: nothing defined at or after the cursor
};

class MemoryImage {
  public:
    // Adds a block; false (and nothing added) when it overlaps defined bytes or reaches past
    // the 32-bit address space.
    bool Insert(uint64_t address, const uint8_t* bytes, uint64_t length);
    // Drops every defined byte in [first, first + length).
    void Remove(uint64_t first, uint64_t length);
    // Moves every area by the sign-extended offset, modulo 2^32. An area carried across
    // 0xFFFFFFFF is split at the wrap, and areas that come to touch are joined, so the image
    // stays sorted and joined.
    void Relocate(int32_t offset);
    void Clear();

    uint8_t GetByte(uint64_t address, uint8_t fill) const;
    // Pointer to a defined byte for an edit in place, or null.
    uint8_t* Find(uint64_t address);
    void ReadRange(uint8_t* buffer, uint64_t first, uint64_t length, uint8_t fill) const;
    // The run at or after `cursor`; moves the cursor to the run's start when it lay in a gap.
    ImageRun NextRun(uint64_t& cursor) const;
    // Calls f(start, run) for every area in address order: a walk over the whole image (as
    // the writers make) without a lookup per run.
    template <class F> void ForEachArea(F&& f) const {
        for (const auto& [start, bytes] : areas_)
            f(start, ImageRun{bytes.Data(), bytes.Size()});
    }

    std::size_t AreaCount() const { return areas_.size(); }
    uint64_t TotalBytes() const { return total_; }
    uint64_t StartAddress() const;
    uint64_t EndAddress() const;
    bool Empty() const { return areas_.empty(); }
    // Changes whenever areas may have been added, removed, moved or resized (not by an edit
    // in place): a reader that keeps the list of area starts knows when to make it again.
    uint64_t Revision() const { return revision_; }

  private:
    using Map = std::map<uint64_t, AreaBytes>; // start address -> bytes
    static uint64_t End(Map::const_iterator it) { return it->first + it->second.Size(); }
    // The area holding `address`, or end().
    Map::const_iterator AreaAt(uint64_t address) const;
    // Joins the area at `it` with the one that starts right after it, if any.
    void JoinWithNext(Map::iterator it);
    // Gives an area a new start address (its bytes stay where they are).
    Map::iterator Rekey(Map::iterator it, uint64_t start);

    Map areas_;
    uint64_t total_ = 0;
    uint64_t revision_ = 0;
};

} // namespace vantrel
