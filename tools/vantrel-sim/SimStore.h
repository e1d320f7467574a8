#pragma once
// Bytes at absolute addresses, with the bytes never written reading as a default the caller
// names: the programmer buffer (undefined = the fill byte) and the target flash (undefined =
// erased = 0xFF). A thin layer over the memory image, which already keeps sparse areas joined.
#include <cstdint>
#include <span>

#include "image/MemoryImage.h"

namespace vantrel::sim {

class ByteStore {
  public:
    // Overwrites whatever was there.
    void Write(uint64_t address, std::span<const uint8_t> bytes) {
        image_.Remove(address, bytes.size());
        image_.Insert(address, bytes.data(), bytes.size());
    }
    uint8_t Get(uint64_t address, uint8_t undefined) const {
        return image_.GetByte(address, undefined);
    }
    void Read(uint64_t address, uint8_t* out, std::size_t count, uint8_t undefined) const {
        image_.ReadRange(out, address, count, undefined);
    }
    void Erase(uint64_t address, uint64_t length) { image_.Remove(address, length); }
    void Clear() { image_.Clear(); }
    const MemoryImage& Image() const { return image_; }

  private:
    MemoryImage image_;
};

} // namespace vantrel::sim
