// The firmware image reader with literal records: every message with its line, the size limits
// of the two programmer families and the end marker behind the smaller images, where the bytes
// land in the buffer, and which file belongs to which hardware.
#include <gtest/gtest.h>

#include <fstream>

#include "image/FileIo.h"
#include "image/FirmwareFile.h"
#include "image/RecordText.h"
#include "support/TempDir.h"

namespace vantrel {
namespace {

using test::SRec;
using Bytes = std::vector<uint8_t>;

FirmwareLoad Load(const std::string& text, uint16_t hardware = 570) {
    StringSource source(text);
    return LoadFirmware(source, hardware);
}

// Records of `length` bytes from `first` on: the first 16 and the last byte defined.
std::string Spanning(uint32_t first, uint32_t length) {
    Bytes head(16);
    for (std::size_t i = 0; i < head.size(); ++i)
        head[i] = static_cast<uint8_t>(i + 1);
    return SRec(3, first, head) + "\r\n" + SRec(3, first + length - 1, {0x5A}) + "\r\n";
}

TEST(FirmwareFile, BadFilesStopWithTheLineAndTheReason) {
    const std::string good = SRec(1, 0x100, {1, 2, 3}) + "\r\n";
    struct Case {
        const char* name;
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"empty file", "", "Error in line 1: Not a mot file"},
        {"Intel HEX", ":0100000001FE\r\n", "Error in line 1: Not a mot file"},
        {"checksum", good + "S10500000102F0\r\n", "Error in line 2: Checksum error !"},
        {"count shorter than the record", "S1020000FC\r\n", "Error in line 1: Checksum error !"},
        {"bad digit", good + "S105000001G2F7\r\n",
         "Error in line 2: Expected Hex character : 0..9, A..F"},
        {"record cut by the end", good + "S1050000",
         "Error in line 2: Expected Hex character : 0..9, A..F"},
        {"blank before the line end", good + SRec(1, 0, {1}) + " \r\n",
         "Error in line 2: Expected CR or LF"},
        {"second empty line", good + "\r\n" + good, "Error in line 2: Unexpected character"},
        {"three line feeds", SRec(1, 0, {1}) + "\n\n\n" + good,
         "Error in line 2: Unexpected character"},
        {"not a record", good + "X1050000\r\n", "Error in line 2: Unexpected character"},
        {"control character as type",
         good + "S\x01"
                "050000010203\r\n",
         "Error in line 2: Unexpected character"},
        {"character above 0x7F as type",
         good + "S\xB1"
                "050000010203\r\n",
         "Error in line 2: Unexpected character"},
        {"overlap", good + SRec(1, 0x102, {9}) + "\r\n", "Error in line 2: Areas overlap"},
        {"only header and end", SRec(0, 0, {'F', 'W'}) + "\r\n" + SRec(9, 0, {}) + "\r\n",
         "Could not read Firmware file"},
        {"beyond the address space", SRec(3, 0xFFFFFFFF, {1, 2}) + "\r\n",
         "Error in line 1: Firmware file has illegal size"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FirmwareLoad load = Load(c.text);
        EXPECT_EQ(load.error, c.error);
        EXPECT_TRUE(load.image.empty());
    }
}

TEST(FirmwareFile, GoodFilesFillTheBufferFromTheirLowestAddress) {
    const std::string s1 = SRec(1, 0x8000, {0xA1, 0xA2});
    struct Case {
        const char* name;
        std::string text;
        Bytes image; // for a 6.00 programmer: no marker
    };
    const Case cases[] = {
        {"S1 from 0x8000 at offset 0", s1 + "\r\n", {0xA1, 0xA2}},
        {"no line end at the end", s1, {0xA1, 0xA2}},
        {"S2 in lower case and S3, the gap 0xFF",
         "S2050123410a8b\n" + SRec(3, 0x12345, {0x33}) + "\n",
         {0x0A, 0xFF, 0xFF, 0xFF, 0x33}},
        {"header, count and start records carry no data",
         SRec(0, 0, {'F', 'W'}) + "\r\n" + s1 + "\r\n" + SRec(5, 1, {}) + "\r\n" +
             SRec(9, 0x8000, {}) + "\r\n",
         {0xA1, 0xA2}},
        {"CR LF and LF CR are one line end each",
         s1 + "\n\r" + SRec(1, 0x8002, {0xA3}) + "\r\n" + SRec(1, 0x8003, {0xA4}),
         {0xA1, 0xA2, 0xA3, 0xA4}},
        {"Ctrl-Z ends the file", s1 + "\r\n\x1A" + "anything", {0xA1, 0xA2}},
        {"NUL ends the file", s1 + "\r\n" + std::string(1, '\0') + "anything", {0xA1, 0xA2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FirmwareLoad load = Load(c.text, 600);
        EXPECT_EQ(load.error, "");
        EXPECT_EQ(load.image, c.image);
    }
}

TEST(FirmwareFile, SizeLimitsAndTheEndMarker) {
    struct Case {
        const char* name;
        uint16_t hardware;
        uint32_t length;
        std::size_t sent; // 0: "Firmware file has illegal size"
    };
    const Case cases[] = {
        {"5.70 at its limit", 570, 0xBFF0, 0xC000},
        {"5.70 one byte over", 570, 0xBFF1, 0},
        {"5.10 at its limit", 510, 0xBFF0, 0xC000},
        {"4.11 small", 411, 0x100, 0x110},
        {"5.75 takes the whole buffer", 575, 0x30000, 0x30000},
        {"5.75 one byte over", 575, 0x30001, 0},
        {"6.00 takes the whole buffer", 600, 0x30000, 0x30000},
        {"6.00 one byte over", 600, 0x30001, 0},
        {"6.00 small", 600, 0xC001, 0xC001},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FirmwareLoad load = Load(Spanning(0x8000, c.length), c.hardware);
        if (c.sent == 0) {
            EXPECT_EQ(load.error, "Firmware file has illegal size");
            EXPECT_TRUE(load.image.empty());
            continue;
        }
        ASSERT_EQ(load.error, "");
        ASSERT_EQ(load.image.size(), c.sent);
        EXPECT_EQ(load.image[0], 0x01);
        EXPECT_EQ(load.image[16], 0xFF);
        EXPECT_EQ(load.image[c.length - 1], 0x5A);
        const bool marker = c.sent == c.length + 16;
        EXPECT_EQ(marker, FirmwareNeedsMarker(c.hardware));
        if (marker && c.length == 0xBFF0) {
            const Bytes tail(load.image.end() - 16, load.image.end());
            EXPECT_EQ(tail, (Bytes{0x21, 0x43, 0x65, 0x87, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                   0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
        }
    }
}

TEST(FirmwareFile, EachHardwareReadsItsOwnFile) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "Firmware");
    std::filesystem::create_directories(dir / "other" / "FIRMWARE");
    std::ofstream(dir / "other" / "FIRMWARE" / "fw600.MOT") << SRec(1, 0, {1}) << "\r\n";
    const std::string program = dir.Path().string() + "/";
    struct Case {
        const char* name;
        std::string directory;
        uint16_t hardware;
        uint8_t variant;
        std::string path; // below the directory
    };
    const Case cases[] = {
        {"5.10 of variant 0 runs the 5.70 firmware", program, 510, 0, "Firmware/FW570.mot"},
        {"5.10 of variant 3", program, 510, 3, "Firmware/FW510.mot"},
        {"5.70", program, 570, 0, "Firmware/FW570.mot"},
        {"6.00", program, 600, 7, "Firmware/FW600.mot"},
        {"other letter case", program + "other/", 600, 0, "FIRMWARE/fw600.MOT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FirmwareFilePath(c.directory, c.hardware, c.variant), c.directory + c.path);
    }
    EXPECT_TRUE(FirmwareFileReadable(program + "other/FIRMWARE/fw600.MOT"));
    EXPECT_EQ(LoadFirmwareFile(program + "other/FIRMWARE/fw600.MOT", 600).image, Bytes{1});
}

TEST(FirmwareFile, FilesThatCannotBeRead) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "Firmware" / "FW600.mot");
    struct Case {
        const char* name;
        std::filesystem::path path;
        const char* error;
    };
    const Case cases[] = {
        {"missing", dir / "Firmware" / "FW570.mot", "File not found"},
        {"missing folder", dir / "none" / "FW570.mot", "File not found"},
        {"a folder", dir / "Firmware" / "FW600.mot", "Invalid file handle"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(FirmwareFileReadable(c.path.string()));
        const FirmwareLoad load = LoadFirmwareFile(c.path.string(), 570);
        EXPECT_EQ(load.error, c.error);
        EXPECT_TRUE(load.image.empty());
    }
}

// The shipped samples load, and the smaller ones end with the marker where the emulator
// looks for the end of a download.
TEST(FirmwareFile, SampleImagesLoad) {
    struct Case {
        uint16_t hardware;
        uint8_t variant;
        std::size_t sent;
    };
    const Case cases[] = {{510, 1, 0xC000}, {510, 0, 0xC000}, {570, 0, 0xC000}, {600, 0, 0x20000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hardware);
        const std::string path = FirmwareFilePath(VANTREL_SAMPLE_DIR "/", c.hardware, c.variant);
        const FirmwareLoad load = LoadFirmwareFile(path, c.hardware);
        ASSERT_EQ(load.error, "");
        EXPECT_EQ(load.image.size(), c.sent);
        if (c.sent == 0xC000) {
            EXPECT_EQ(load.image[0xBFF0], 0x21);
        }
    }
}

} // namespace
} // namespace vantrel
