// The document on its own, without the application: AddData reports an overlap instead of
// asking, every change and the CRC cache wait for a reader that holds the image, the
// image-changed hook follows what the programmer holds, and the readers ask their caller the
// overlap question at most once per load.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/Reporter.h"
#include "image/BinaryFile.h"
#include "image/FileIo.h"
#include "image/HexDoc.h"
#include "image/ImageFixture.h"
#include "image/LoadSeams.h"
#include "image/RecordText.h"
#include "image/TextLoader.h"
#include "support/FakeUi.h"

namespace vantrel {
namespace {

using test::AreaList;
using test::AreasOf;
using test::Bytes;
using test::SRec;

AreaList Areas(const CHEXDoc& doc) {
    return AreasOf(doc.Lock().Image());
}

TEST(HexDoc, AddDataReportsAnOverlapAndReplacesOnlyWhenTold) {
    CHEXDoc doc;
    const uint8_t three[] = {1, 2, 3};
    const uint8_t nine = 9;
    ASSERT_EQ(doc.AddData(0x100, 3, three), AddResult::Added);
    EXPECT_EQ(doc.AddData(0x101, 1, &nine), AddResult::Overlaps);
    EXPECT_EQ(Areas(doc), (AreaList{{0x100, {1, 2, 3}}})); // nothing added
    EXPECT_EQ(doc.AddData(0x101, 1, &nine, true), AddResult::Added);
    EXPECT_EQ(Areas(doc), (AreaList{{0x100, {1, 9, 3}}}));
    EXPECT_EQ(doc.AddData(0xFFFFFFFE, 3, three, true), AddResult::BeyondAddressSpace);
    EXPECT_EQ(Areas(doc), (AreaList{{0x100, {1, 9, 3}}}));

    EXPECT_EQ(AddErrorText(AddResult::Added), nullptr);
    EXPECT_STREQ(AddErrorText(AddResult::Overlaps), "Multiple definitions for same address !");
    EXPECT_STREQ(AddErrorText(AddResult::BeyondAddressSpace), "Address beyond 0xFFFFFFFF !");
}

// While a reader holds the image, every operation that changes it or reads the CRC cache
// waits, and carries on once the reader lets go.
TEST(HexDoc, EveryChangeWaitsForAReaderThatHoldsTheImage) {
    static const AddressRange kRanges[] = {{0x100, 0x103}};
    const std::pair<const char*, std::function<void(CHEXDoc&)>> operations[] = {
        {"AddData",
         [](CHEXDoc& d) {
             const uint8_t b = 7;
             d.AddData(0x200, 1, &b);
         }},
        {"SetByte", [](CHEXDoc& d) { d.SetByte(0x100, 0x55); }},
        {"RemoveRange", [](CHEXDoc& d) { d.RemoveRange(0x100, 1); }},
        {"Relocate", [](CHEXDoc& d) { d.Relocate(0x10); }},
        {"ClearImage", [](CHEXDoc& d) { d.ClearImage(); }},
        {"MarkCrcStale", [](CHEXDoc& d) { d.MarkCrcStale(); }},
        {"CrcValid", [](CHEXDoc& d) { (void)d.CrcValid(); }},
        {"GetImageCrc", [](CHEXDoc& d) { d.GetImageCrc(kRanges, 0xFF); }},
        {"AreasInsideDevice", [](CHEXDoc& d) { (void)d.AreasInsideDevice(kRanges); }},
    };
    for (const auto& [name, operation] : operations) {
        SCOPED_TRACE(name);
        CHEXDoc doc;
        const uint8_t bytes[] = {1, 2, 3, 4};
        ASSERT_EQ(doc.AddData(0x100, 4, bytes), AddResult::Added);
        std::atomic<bool> done{false};
        std::thread other;
        {
            LockedImage image = doc.Lock();
            other = std::thread([&, op = operation] {
                op(doc);
                done = true;
            });
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            EXPECT_FALSE(done);
            EXPECT_EQ(image->TotalBytes(), 4u);
        }
        other.join();
        EXPECT_TRUE(done);
    }
}

TEST(HexDoc, ImageChangedHookFollowsWhatTheProgrammerHolds) {
    int calls = 0;
    CHEXDoc doc([&calls] { ++calls; });
    const uint8_t bytes[] = {1, 2};
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"a block read from a file", [&] { doc.AddData(0x10, 2, bytes); }},
        {"SetByte of a new byte", [&] { doc.SetByte(0x20, 5); }},
        {"SetByte of a changed byte", [&] { doc.SetByte(0x10, 9); }},
        {"SetByte of an equal byte", [&] { doc.SetByte(0x10, 9); }},
        {"SetModifiedFlag(false)", [&] { doc.SetModifiedFlag(false); }},
        {"SetModifiedFlag(true)", [&] { doc.SetModifiedFlag(true); }},
        {"ForgetModified", [&] { doc.ForgetModified(); }},
    };
    const int expected[] = {0, 1, 1, 0, 1, 1, 0};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(steps[i].first);
        int before = calls;
        steps[i].second();
        EXPECT_EQ(calls - before, expected[i]);
    }
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Lock().EditedAddresses(), (std::vector<uint32_t>{0x20, 0x10}));
}

class RecordingReporter : public Reporter {
  public:
    using Reporter::Report;
    void Report(int32_t code, const char* text) override {
        reports.emplace_back(code, text ? text : "");
    }
    std::vector<std::pair<int32_t, std::string>> reports;
};

// Both readers on the document alone: the question goes to the caller once per load; Yes
// replaces for the rest of the load, No (or no question at all) fails it with error 219.
TEST(HexDoc, ReadersAskTheirCallerAboutOverlapsOncePerLoad) {
    struct Case {
        const char* name;
        bool binary;
        int answer; // -1: the caller gives no question
        bool loaded;
        AreaList areas;
        const char* error; // the text of error 219, or null
    };
    // Preloaded 0x00 and 0x110: a text file overlaps both, as does a 300-byte binary file
    // (read in blocks of 256 bytes).
    const Case cases[] = {
        {"text, Yes", false, 1, true, {{0x0, {9, 8}}, {0x110, {7}}}, nullptr},
        {"text, No",
         false,
         0,
         false,
         {},
         "Error in line 1: Multiple definitions for same address !"},
        {"text, no question",
         false,
         -1,
         false,
         {},
         "Error in line 1: Multiple definitions for same address !"},
        {"binary, Yes", true, 1, true, {{0x0, Bytes(300, 0x5A)}}, nullptr},
        {"binary, No",
         true,
         0,
         false,
         {},
         "Error at file offset 0x0: Multiple definitions for same address !"},
    };
    const std::string text = SRec(1, 0x0, {9, 8}) + "\r\n" + SRec(1, 0x110, {7}) + "\r\n";
    const std::string binary(300, '\x5A');
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CHEXDoc doc;
        const uint8_t old = 0xEE;
        doc.AddData(0x0, 1, &old);
        doc.AddData(0x110, 1, &old);
        RecordingReporter reporter;
        test::FakeUi ui;
        int asked = 0;
        std::function<bool()> ask;
        if (c.answer >= 0) {
            ask = [&asked, &c] {
                ++asked;
                return c.answer == 1;
            };
        }
        LoadSeams seams{reporter, ui, false, ask};
        StringSource source(c.binary ? binary : text);
        bool loaded =
            c.binary ? LoadBinaryFile(seams, doc, source) : LoadTextFile(seams, doc, source);
        EXPECT_EQ(loaded, c.loaded);
        EXPECT_EQ(asked, c.answer >= 0 ? 1 : 0);
        EXPECT_EQ(Areas(doc), c.areas);
        EXPECT_TRUE(ui.boxes.empty()); // the question is the caller's, never the reader's
        if (c.error) {
            ASSERT_EQ(reporter.reports.size(), 1u);
            EXPECT_EQ(reporter.reports[0], std::make_pair(219, std::string(c.error)));
        } else {
            EXPECT_TRUE(reporter.reports.empty());
        }
    }
}

} // namespace
} // namespace vantrel
