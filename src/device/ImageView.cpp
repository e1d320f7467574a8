#include "device/ImageView.h"

#include "image/MemoryImage.h"

namespace vantrel {

std::optional<uint8_t> ImageView::At(uint32_t address) const {
    if (!image_) return std::nullopt;
    // The run at or after the address: defined there only when it starts at the address.
    uint64_t cursor = address;
    ImageRun run = image_->NextRun(cursor);
    if (run.length == 0 || cursor != address) return std::nullopt;
    return run.data[0];
}

} // namespace vantrel
