// A program file of arbitrary bytes through the text loader (S-record or Intel HEX by its first
// character). Whatever loads must come back unchanged through both writers and the loader.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/App.h"
#include "image/FileIo.h"
#include "image/IntelHexFile.h"
#include "image/SRecordFile.h"
#include "image/TextLoader.h"
#include "support/FakeClock.h"
#include "support/FakeUi.h"
#include "support/TempDir.h"

namespace {

using namespace vantrel;

bool SameImage(const MemoryImage& a, const MemoryImage& b) {
    if (a.TotalBytes() != b.TotalBytes() || a.AreaCount() != b.AreaCount()) return false;
    uint64_t ca = 0, cb = 0;
    for (;;) {
        ImageRun ra = a.NextRun(ca), rb = b.NextRun(cb);
        if (ra.length != rb.length || ca != cb) return false;
        if (ra.length == 0) return true;
        if (std::string_view(reinterpret_cast<const char*>(ra.data), ra.length) !=
            std::string_view(reinterpret_cast<const char*>(rb.data), rb.length))
            return false;
        ca += ra.length;
        cb += rb.length;
    }
}

void RoundTrip(App& app, void (*write)(const MemoryImage&, OutputSink&)) {
    StringSink out;
    write(app.doc.Image(), out);
    test::FakeUi ui;
    test::FakeClock clock;
    App again(ui, clock);
    StringSource source(out.text);
    if (!LoadTextFile(again, again.doc, source) || !SameImage(app.doc.Image(), again.doc.Image()))
        std::abort(); // a file we wrote did not read back as the image it came from
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static test::TempDir scratch(true); // the error file lands here
    test::FakeUi ui;
    test::FakeClock clock;
    App app(ui, clock);
    StringSource source(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!LoadTextFile(app, app.doc, source) || app.doc.TotalBytes() > (1u << 20)) return 0;
    RoundTrip(app, WriteSRecordFile);
    RoundTrip(app, WriteIntelHexFile);
    return 0;
}
