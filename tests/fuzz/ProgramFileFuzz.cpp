// A program file of arbitrary bytes through the text loader (S-record or Intel HEX by its first
// character). Whatever loads must come back unchanged through both writers and the loader.
// The loader runs on the document alone, without the application: errors go nowhere, the
// overlap question is answered No and a checksum question with its default.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FuzzSupport.h"
#include "image/FileIo.h"
#include "image/HexDoc.h"
#include "image/IntelHexFile.h"
#include "image/SRecordFile.h"
#include "image/TextLoader.h"
#include "support/FakeUi.h"

namespace {

using namespace vantrel;

using fuzz::QuietReporter;
using fuzz::SameImage;

bool Load(CHEXDoc& doc, std::string_view text) {
    QuietReporter reporter;
    test::FakeUi ui;
    StringSource source(text);
    return LoadTextFile(LoadSeams{reporter, ui, false, nullptr}, doc, source);
}

void RoundTrip(const CHEXDoc& doc, void (*write)(const MemoryImage&, OutputSink&)) {
    StringSink out;
    write(doc.Lock().Image(), out);
    CHEXDoc again;
    if (!Load(again, out.text) || !SameImage(doc.Lock().Image(), again.Lock().Image()))
        std::abort(); // a file we wrote did not read back as the image it came from
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CHEXDoc doc;
    if (!Load(doc, std::string_view(reinterpret_cast<const char*>(data), size)) ||
        doc.Lock()->TotalBytes() > (1u << 20))
        return 0;
    RoundTrip(doc, WriteSRecordFile);
    RoundTrip(doc, WriteIntelHexFile);
    return 0;
}
