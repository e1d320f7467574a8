// The text loader with literal records: what each good file puts into the image, and for each
// bad one the line number and text of "Error in line %d: %s" with an empty image afterwards.
#include <gtest/gtest.h>

#include "image/ImageFixture.h"
#include "image/RecordText.h"

namespace vantrel {
namespace {

using test::AreaList;
using test::Bytes;
using test::IHex;
using test::SRec;

struct GoodFile {
    const char* name;
    std::string text;
    AreaList areas;
};

struct BadFile {
    const char* name;
    std::string text;
    int line;
    const char* error;
};

class TextLoaderTest : public test::ImageFixture {
  protected:
    void ExpectLoads(const GoodFile& c) {
        SCOPED_TRACE(c.name);
        Doc().ClearImage();
        ui.boxes.clear();
        EXPECT_TRUE(Load(c.text));
        EXPECT_EQ(Areas(), c.areas);
        EXPECT_TRUE(ui.boxes.empty()) << ui.boxes.front().text;
    }
    void ExpectFails(const BadFile& c) {
        SCOPED_TRACE(c.name);
        Doc().ClearImage();
        Add(0x7000, {0xAA}); // loaded before: a failed load leaves nothing
        Doc().overwriteOnOverlap = true;
        ui.boxes.clear();
        app->lastErrorCode = 0;
        EXPECT_FALSE(Load(c.text));
        EXPECT_TRUE(Areas().empty());
        ASSERT_FALSE(ui.boxes.empty());
        EXPECT_EQ(ui.boxes.back().text, "Error in line " + std::to_string(c.line) + ": " + c.error);
        EXPECT_EQ(app->lastErrorCode, 219);
    }
};

TEST_F(TextLoaderTest, SRecordFilesLoad) {
    const GoodFile cases[] = {
        {"S1", "S1061000010203E3\r\n", {{0x1000, {1, 2, 3}}}},
        {"header, end, no final line end",
         "S00600004844521B\r\nS1061000010203E3\r\nS9030000FC",
         {{0x1000, {1, 2, 3}}}},
        {"S2 and S3 with S8 and S7 ends",
         SRec(2, 0x123456, {9, 8}) + "\n" + SRec(3, 0x89ABCDEF, {7}) + "\n" + SRec(8, 0, {}) +
             "\n" + SRec(7, 0, {}) + "\n",
         {{0x123456, {9, 8}}, {0x89ABCDEF, {7}}}},
        {"Ctrl-Z after the last line",
         "S1061000010203E3\r\n\x1A garbage after the end",
         {{0x1000, {1, 2, 3}}}},
        {"NUL padding at the end",
         std::string("S1061000010203E3\r\n\0\0\r\n\0", 24),
         {{0x1000, {1, 2, 3}}}},
        {"record without data bytes adds nothing",
         "S1030000FC\r\nS1061000010203E3\r\n",
         {{0x1000, {1, 2, 3}}}},
        {"other type characters are read and ignored",
         "S1061000010203E3\r\nS5030001FB\r\n",
         {{0x1000, {1, 2, 3}}}},
        {"the last address of the space",
         SRec(3, 0xFFFFFFFE, {1, 2}) + "\r\n",
         {{0xFFFFFFFE, {1, 2}}}},
    };
    for (const auto& c : cases)
        ExpectLoads(c);
    EXPECT_EQ(Doc().fileType, kFileSRecord);
    ExpectLoads({"lower case hex, CR only",
                 "S1061000010203e3\rS1061003040506d7\r",
                 {{0x1000, {1, 2, 3, 4, 5, 6}}}});
}

TEST_F(TextLoaderTest, IntelHexFilesLoad) {
    const GoodFile cases[] = {
        {"data", ":03100000010203E7\r\n:00000001FF\r\n", {{0x1000, {1, 2, 3}}}},
        {"an end record in the middle does not stop reading",
         ":00000001FF\r\n:03100000010203E7\r\n",
         {{0x1000, {1, 2, 3}}}},
        {"segment record", ":020000021000EC\r\n" + IHex(0, 0, {5}) + "\r\n", {{0x10000, {5}}}},
        {"type FF works as 04",
         IHex(0xFF, 0, {0x00, 0x01}) + "\n" + IHex(0, 2, {6}) + "\n",
         {{0x10002, {6}}}},
        {"segment and linear bases add up",
         IHex(2, 0, {0x10, 0x00}) + "\n" + IHex(4, 0, {0x00, 0x20}) + "\n" + IHex(0, 0x10, {0xAA}) +
             "\n",
         {{0x210010, {0xAA}}}},
        {"a record is not wrapped within 64 KiB",
         IHex(4, 0, {0x00, 0x02}) + "\n" + IHex(0, 0xFFF8, Bytes(16, 7)) + "\n",
         {{0x2FFF8, Bytes(16, 7)}}},
        {"segment and linear bases wrap at 32 bits",
         ":02000002FFFFFE\r\n:02000004FFFFFC\r\n:08FFF800000000000000000001\r\n",
         {{0xFFFE8, Bytes(8, 0)}}}, // base 0x000EFFF0
        {"base and offset wrap at 32 bits",
         IHex(4, 0, {0xFF, 0xF0}) + "\n" + IHex(2, 0, {0xFF, 0xFF}) + "\n" + IHex(0, 0x20, {0x5A}) +
             "\n",
         {{0x10, {0x5A}}}}, // base 0xFFFFFFF0
        {"the last bytes of the address space",
         IHex(4, 0, {0xFF, 0xF0}) + "\n" + IHex(2, 0, {0xFF, 0xFF}) + "\n" +
             IHex(0, 0x0C, {1, 2, 3, 4}) + "\n",
         {{0xFFFFFFFC, {1, 2, 3, 4}}}},
        {"start addresses and empty data records change nothing",
         IHex(3, 0, {0, 0, 0, 0}) + "\n" + IHex(5, 0, {0, 0, 1, 0}) + "\n" + IHex(0, 0x40, {}) +
             "\n" + IHex(0, 0x10, {1}) + "\n",
         {{0x10, {1}}}},
    };
    for (const auto& c : cases)
        ExpectLoads(c);
    EXPECT_EQ(Doc().fileType, kFileIntelHex);
}

TEST_F(TextLoaderTest, MalformedFilesFailWithTheirLine) {
    std::string good = "S1061000010203E3\r\n";
    std::string longRun(70000, '\n'); // a run of line ends longer than the window
    const BadFile cases[] = {
        {"empty file", "", 1, "Can not identify file type"},
        {"blank first line", "\r\nS1061000010203E3\r\n", 1, "Can not identify file type"},
        {"neither S nor :", "hello\r\n", 1, "Can not identify file type"},
        {"empty lines are not counted", good + "\r\n\r\n" + good.substr(0, 10) + "X\r\n", 2,
         "Expected Hex character : 0..9, A..F"},
        {"runs of line ends longer than the window", good + longRun + "S1X\r\n", 2,
         "Expected Hex character : 0..9, A..F"},
        {"record not starting with S", good + ":03100000010203E7\r\n", 2, "Unexpected character"},
        {"control character as type",
         "S\x01"
         "061000010203E3\r\n",
         1, "Unexpected character"},
        {"character above 0x7F as type",
         "S\x81"
         "061000010203E3\r\n",
         1, "Unexpected character"},
        {"text after the record", "S1061000010203E3 ; comment\r\n", 1, "Expected CR or LF"},
        {"count shorter than the line", "S1051000010203E3\r\n", 1, "Expected CR or LF"},
        {"count longer than the line", "S1071000010203E3\r\n", 1,
         "Expected Hex character : 0..9, A..F"},
        {"file ends inside a record", good + "S10610000102", 2,
         "Expected Hex character : 0..9, A..F"},
        {"NUL inside a record",
         std::string("S1061000\0"
                     "10203E3\r\n",
                     18),
         1, "Expected Hex character : 0..9, A..F"},
        {"NUL line before more records", good + std::string("\0\r\n", 3) + good, 2,
         "Unexpected character"},
        {"overlong line", "S1061000010203E3" + std::string(5000, '0') + "\r\n", 1,
         "Expected CR or LF"},
        {"count shorter than the address", "S1020000FD\r\n", 1,
         "Record too short for its address !"},
        {"S3 count shorter than the address", good + SRec(3, 0, {}).substr(0, 2) + "03000000FC\r\n",
         2, "Record too short for its address !"},
        {"data past 0xFFFFFFFF", SRec(3, 0xFFFFFFF0, Bytes(32, 1)) + "\r\n", 1,
         "Address beyond 0xFFFFFFFF !"},
        {"Intel checksum", ":03100000010203E8\r\n", 1, "CheckSum error !"},
        {"Intel unknown type", ":00000006FA\r\n", 1, "Unknown record !"},
        {"Intel address record of one byte", ":0100000210ED\r\n", 1,
         "Address record needs 2 data bytes !"},
        {"Intel record without colon", ":03100000010203E7\r\n03100000010203E7\r\n", 2,
         "Unexpected character"},
        {"Intel file ends inside a record", ":031000000102", 1,
         "Expected Hex character : 0..9, A..F"},
        {"Intel data past 0xFFFFFFFF",
         IHex(4, 0, {0xFF, 0xFF}) + "\n" + IHex(0, 0xFFF8, Bytes(16, 1)) + "\n", 2,
         "Address beyond 0xFFFFFFFF !"},
        {"Intel data across 0xFFFFFFFF after both bases",
         IHex(4, 0, {0xFF, 0xF0}) + "\n" + IHex(2, 0, {0xFF, 0xFF}) + "\n" +
             IHex(0, 0x08, Bytes(16, 1)) + "\n",
         3, "Address beyond 0xFFFFFFFF !"},
    };
    for (const auto& c : cases)
        ExpectFails(c);
}

TEST_F(TextLoaderTest, LineNumbersHoldAcrossManyWindowRefills) {
    std::string text;
    for (uint32_t i = 0; i < 6000; ++i)
        text += SRec(3, i * 32, Bytes(32, 3)) + "\r\n";
    ASSERT_GT(text.size(), 5 * kLoadWindowSize);
    EXPECT_TRUE(Load(text));
    EXPECT_EQ(Doc().Lock()->TotalBytes(), 6000u * 32);
    EXPECT_EQ(Doc().Lock()->AreaCount(), 1u);
    ExpectFails(
        {"error in the last record", text + "S1061000010203E4X\r\n", 6001, "Expected CR or LF"});
}

TEST_F(TextLoaderTest, OverlapAsksOnceAndOverwritesOrFails) {
    std::string twice =
        "S1061000010203E3\r\n" + SRec(1, 0x1001, {9}) + "\r\n" + SRec(1, 0x1002, {8}) + "\r\n";
    ui.answers = {MsgAnswer::Yes};
    EXPECT_TRUE(Load(twice));
    EXPECT_EQ(Areas(), (AreaList{{0x1000, {1, 9, 8}}}));
    ASSERT_EQ(ui.boxes.size(), 1u); // asked once for the whole file
    EXPECT_EQ(ui.boxes[0].text, "File merge: Areas overlap...\r\nCheck HEX file contents !!!"
                                "\r\nOverwrite existing data ?");

    Doc().ClearImage();
    Doc().overwriteOnOverlap = false;
    ui.boxes.clear();
    EXPECT_FALSE(Load(twice)); // No
    EXPECT_TRUE(Areas().empty());
    EXPECT_EQ(ui.boxes.back().text, "Error in line 2: Multiple definitions for same address !");
}

TEST_F(TextLoaderTest, SRecordChecksumErrorIsAskedOrReportedInABatch) {
    std::string text = "S1061000010203E4\r\nS1061010040506CA\r\n"; // first checksum wrong
    ui.answers = {MsgAnswer::No};
    EXPECT_TRUE(Load(text));
    EXPECT_EQ(Areas(), (AreaList{{0x1010, {4, 5, 6}}})); // only that record dropped
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Continue and ignore ?");
    EXPECT_EQ(ui.boxes[0].caption, "Checksum error !");

    Doc().ClearImage();
    ui.answers = {MsgAnswer::Yes};
    EXPECT_TRUE(Load(text));
    EXPECT_EQ(Areas(), (AreaList{{0x1000, {1, 2, 3}}, {0x1010, {4, 5, 6}}}));

    Doc().ClearImage();
    ui.boxes.clear();
    app->cmdline.batchRunning = true;
    EXPECT_TRUE(Load(text));
    EXPECT_EQ(Areas(), (AreaList{{0x1000, {1, 2, 3}}, {0x1010, {4, 5, 6}}}));
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Checksum-Error in File");
    EXPECT_EQ(CMDLINE_GetErrorLevel(*app), 1); // the batch stops after this command
}

} // namespace
} // namespace vantrel
