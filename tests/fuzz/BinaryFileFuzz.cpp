// A binary program file of arbitrary bytes. The first byte chooses whether a block of 16 bytes
// at 16 × the second byte is in the image before the load (bit 0) and how the overlap question
// is answered (bit 1); the rest is the file. A load without overlap, or with the answer Yes,
// must put the file at 0 to size - 1 and give it back unchanged through the binary writer; a
// No must fail the load and leave the image empty.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FuzzSupport.h"
#include "image/BinaryFile.h"
#include "image/FileIo.h"
#include "image/HexDoc.h"
#include "image/LoadSeams.h"
#include "support/FakeUi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vantrel;
    if (size < 2) return 0;
    const bool preload = data[0] & 1;
    const bool overwrite = data[0] & 2;
    const uint64_t preloadAt = uint64_t{data[1]} * 16;
    const std::string_view file(reinterpret_cast<const char*>(data + 2), size - 2);

    CHEXDoc doc;
    const uint8_t block[16] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE,
                               0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
    if (preload) doc.AddData(preloadAt, sizeof block, block);
    fuzz::QuietReporter reporter;
    test::FakeUi ui;
    int questions = 0;
    StringSource source(file);
    const bool loaded = LoadBinaryFile(LoadSeams{reporter, ui, false,
                                                 [&] {
                                                     ++questions;
                                                     return overwrite;
                                                 }},
                                       doc, source);

    const bool overlaps = preload && file.size() > preloadAt;
    if (questions > 1 || (questions == 1) != overlaps) std::abort();
    const auto image = doc.Lock();
    if (overlaps && !overwrite) {
        if (loaded || !image->Empty()) std::abort();
        return 0;
    }
    if (!loaded) std::abort();
    if (file.empty()) return 0;
    StringSink out;
    WriteBinaryRange(image.Image(), 0, file.size() - 1, 0xFF, out);
    if (out.text != file) std::abort();
    if (!preload && image->TotalBytes() != file.size()) std::abort();
    return 0;
}
