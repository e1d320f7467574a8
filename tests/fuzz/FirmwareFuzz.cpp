// A firmware file of arbitrary bytes through the strict reader, for a 5.x programmer (limit and
// end marker) and a 6.00 one (the large limit): either an error text or an image within the
// limit, never both, and never a crash.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "image/FileIo.h"
#include "image/FirmwareFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (uint16_t hardware : {510, 600}) {
        StringSource source(text);
        const FirmwareLoad load = LoadFirmware(source, hardware);
        if (load.error.empty() == load.image.empty()) std::abort();
        if (load.image.size() > kFirmwareBufferSize) std::abort();
        if (load.error.size() >= 200) std::abort();
    }
    return 0;
}
