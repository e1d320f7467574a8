#include "image/BinaryFile.h"

#include <algorithm>
#include <vector>

#include "base/Reporter.h"
#include "base/UtilSnprintf.h"
#include "image/FileIo.h"
#include "image/HexDoc.h"
#include "image/LoadSeams.h"

namespace vantrel {

bool LoadBinaryFile(const LoadSeams& seams, CHEXDoc& doc, ByteSource& source) {
    doc.isCurrent = true;
    uint8_t block[256];
    uint64_t address = 0;
    const char* error = nullptr;
    while (!error) {
        std::size_t n = source.Read(block, sizeof block);
        if (n == 0) break;
        error = AddLoadedData(doc, seams, address, static_cast<uint32_t>(n), block);
        if (!error) address += n;
    }
    if (!error && source.Failed()) error = "Read error";
    if (!error) return true;
    doc.ClearImage();
    seams.reporter.Report(
        219, UTIL_format("Error at file offset 0x%X: %s",
                         {static_cast<uint32_t>(std::min<uint64_t>(address, 0xFFFFFFFF)), error}));
    return false;
}

void WriteBinaryRange(const MemoryImage& image, uint64_t first, uint64_t last, uint8_t fill,
                      OutputSink& out) {
    std::vector<uint8_t> block(1 << 16);
    for (uint64_t at = first; at <= last;) {
        uint64_t n = std::min<uint64_t>(block.size(), last - at + 1);
        image.ReadRange(block.data(), at, n, fill);
        out.Write(reinterpret_cast<const char*>(block.data()), static_cast<std::size_t>(n));
        at += n;
    }
}

} // namespace vantrel
