#pragma once
// What the device database reads of the memory image: the byte at an address, if the image
// holds one there. The ID checks, the passcode commands and the ID length value read the
// document's image through this view; whoever makes one holds the image lock while it is used.
#include <cstdint>
#include <optional>

namespace vantrel {

class MemoryImage;

class ImageView {
  public:
    ImageView() = default; // an empty image
    explicit ImageView(const MemoryImage& image) : image_(&image) {}

    // The byte the image holds at `address`, if any.
    std::optional<uint8_t> At(uint32_t address) const;
    uint8_t ByteOr(uint32_t address, uint8_t fill) const { return At(address).value_or(fill); }

  private:
    const MemoryImage* image_ = nullptr;
};

} // namespace vantrel
