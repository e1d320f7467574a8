#pragma once
// What the device database needs of the memory image: its runs of defined bytes in address
// order (as the image's run iterator yields them). The ID checks, the passcode commands and the
// image CRC work on this view, so they do not depend on how the image stores its areas.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "device/DeviceRecord.h"

namespace vantrel {

struct ImageBytes {
    uint32_t start = 0;
    std::span<const uint8_t> bytes;
};

class ImageView {
  public:
    ImageView() = default;
    // `runs` sorted by start, not overlapping; they must outlive the view.
    explicit ImageView(std::span<const ImageBytes> runs) : runs_(runs) {}

    std::span<const ImageBytes> Runs() const { return runs_; }
    bool Empty() const { return runs_.empty(); }
    // The byte the image holds at `address`, if any.
    std::optional<uint8_t> At(uint32_t address) const;
    uint8_t ByteOr(uint32_t address, uint8_t fill) const { return At(address).value_or(fill); }

  private:
    std::span<const ImageBytes> runs_;
};

// CRC-16/KERMIT (polynomial 0x1021 taken least significant bit first, start 0, no final XOR)
// over every address of `ranges` in their order, the fill byte standing for undefined bytes.
uint16_t RangesCrc(std::span<const BankRange> ranges, const ImageView& image, uint8_t fill);
uint16_t Crc16Kermit(uint16_t crc, std::span<const uint8_t> bytes);

} // namespace vantrel
