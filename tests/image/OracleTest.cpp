// Program files against independent tools: files that srec_cat and objcopy write must load
// as exactly the bytes they hold, and every file we write must read back in srec_cat (through
// srec_cmp) as exactly our image. The tools come from the packages srecord and binutils
// (scripts/setup.sh installs them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "image/BinaryFile.h"
#include "image/ImageFixture.h"
#include "support/Process.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::AreaList;
using test::Bytes;

std::string Tool(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');)
        if (!dir.empty() && fs::exists(fs::path(dir) / name))
            return (fs::path(dir) / name).string();
    return {};
}

std::string Hex(uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

class Oracle : public test::ImageFixture {
  protected:
    void SetUp() override {
        for (const char* name : {"srec_cat", "srec_cmp", "objcopy"}) {
            tools[name] = Tool(name);
            ASSERT_FALSE(tools[name].empty())
                << name << " is not installed (packages srecord and binutils; scripts/setup.sh "
                << "installs them)";
        }
    }

    test::ProcessResult Run(std::vector<std::string> args) {
        args[0] = tools[args[0]];
        return test::RunProcess(args, dir.Path());
    }

    // srec_cat builds an S-record file of the areas from binary files, one per area: a
    // reference that owes nothing to our writers.
    std::string Reference(const AreaList& areas, const std::string& name) {
        std::vector<std::string> args{"srec_cat"};
        for (std::size_t i = 0; i < areas.size(); ++i) {
            std::string bin = "area" + std::to_string(i) + ".bin";
            test::WriteFile(dir / bin, std::string(areas[i].second.begin(), areas[i].second.end()));
            args.insert(args.end(), {bin, "-binary", "-offset", Hex(areas[i].first)});
        }
        args.insert(args.end(), {"-o", name, "-Motorola", "-address-length=4"});
        auto r = Run(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return name;
    }

    void ExpectSame(const std::string& ours, const std::string& oursFormat,
                    const std::string& reference) {
        auto r = Run({"srec_cmp", ours, oursFormat, reference, "-Motorola"});
        EXPECT_EQ(r.exitCode, 0) << ours << " differs in srec_cmp:\n" << r.out << r.err;
    }

    AreaList LoadFile(const std::string& name) {
        Doc().ClearImage();
        Doc().overwriteOnOverlap = false;
        std::string text = test::ReadFile(dir / name);
        EXPECT_TRUE(Load(text)) << name << ": " << (ui.boxes.empty() ? "" : ui.boxes.back().text);
        return Areas();
    }

    std::map<std::string, std::string> tools;
};

AreaList RandomAreas(std::mt19937& rng,
                     std::initializer_list<std::pair<uint64_t, std::size_t>> at) {
    MemoryImage image;
    for (auto [address, length] : at) {
        Bytes bytes(length);
        for (auto& b : bytes)
            b = static_cast<uint8_t>(rng());
        EXPECT_TRUE(image.Insert(address, bytes.data(), length));
    }
    return test::AreasOf(image);
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

TEST_F(Oracle, FilesOfOtherToolsLoadAsTheBytesTheyHold) {
    std::mt19937 rng(7);
    struct Image {
        const char* name;
        AreaList areas;
        std::vector<std::vector<std::string>> writers; // {tool, args..., output}
    };
    const Image images[] = {
        {"below 64 KiB",
         RandomAreas(rng, {{0x0, 100}, {0x1000, 300}, {0xFFC0, 64}}),
         {{"srec_cat", "-Motorola"}, {"srec_cat", "-Intel"}}},
        {"below 16 MiB",
         RandomAreas(rng, {{0xFFF0, 40}, {0xFFFE0, 100}, {0x20FFF0, 40}}),
         {{"srec_cat", "-Motorola"}, {"srec_cat", "-Intel"}}},
        {"the whole space",
         RandomAreas(rng, {{0x100, 20}, {0x1FFF0, 64}, {0xFFFFF0, 32}, {0xFFFFFF00, 256}}),
         {{"srec_cat", "-Motorola", "-execution-start-address=0x100"},
          {"srec_cat", "-Intel", "-execution-start-address=0x100"},
          {"srec_cat", "-Motorola", "-Output_Block_Size=250"},
          {"srec_cat", "-Intel", "-Output_Block_Size=255"},
          {"srec_cat", "-Motorola", "-Output_Block_Size=1"}}},
    };
    int file = 0;
    for (const auto& image : images) {
        SCOPED_TRACE(image.name);
        std::string reference = Reference(image.areas, "ref" + std::to_string(file) + ".srec");
        std::vector<std::string> written;
        for (const auto& writer : image.writers) {
            std::string name = "tool" + std::to_string(++file) + ".txt";
            std::vector<std::string> args{"srec_cat", reference, "-Motorola", "-o", name};
            args.insert(args.end(), writer.begin() + 1, writer.end());
            auto r = Run(args);
            ASSERT_EQ(r.exitCode, 0) << r.err;
            written.push_back(name);
        }
        // objcopy: segment and linear address records, S-records of every length.
        const std::vector<std::vector<std::string>> objcopies = {{"-O", "ihex"},
                                                                 {"-O", "srec"},
                                                                 {"-O", "srec", "--srec-forceS3"},
                                                                 {"-O", "srec", "--srec-len=7"}};
        for (const auto& options : objcopies) {
            std::string name = "tool" + std::to_string(++file) + ".txt";
            std::vector<std::string> args{"objcopy", "-I", "srec"};
            args.insert(args.end(), options.begin(), options.end());
            args.insert(args.end(), {reference, name});
            auto r = Run(args);
            ASSERT_EQ(r.exitCode, 0) << r.err;
            written.push_back(name);
        }
        for (const auto& name : written) {
            SCOPED_TRACE(name + "\n" + test::ReadFile(dir / name).substr(0, 400));
            EXPECT_EQ(LoadFile(name), image.areas);
            test::WriteFile(dir / ("crlf-" + name), WithCrLf(test::ReadFile(dir / name)));
            EXPECT_EQ(LoadFile("crlf-" + name), image.areas);
        }
    }
}

// Generated images, anywhere in the 32-bit space (with a bias towards the places where the
// address records change: 64 KiB, 1 MiB, 16 MiB, the top), through each writer and back.
TEST_F(Oracle, WrittenFilesReadBackAsTheImage) {
    std::mt19937 rng(20240611);
    const uint64_t edges[] = {0x10000,   0xFF00,   0xFF20,       0x100000,
                              0x1000000, 0x110000, kAddressSpace};
    for (int round = 0; round < 24; ++round) {
        MemoryImage image;
        int count = 1 + static_cast<int>(rng() % 7);
        bool compact = round % 4 == 0; // small enough for a binary file too
        uint64_t base = compact ? rng() % 0xFFF00000 : 0;
        for (int i = 0; i < count; ++i) {
            uint64_t length = 1 + rng() % (rng() % 4 == 0 ? 700 : 80);
            uint64_t address;
            if (compact)
                address = base + rng() % 0x4000;
            else if (rng() % 2 == 0)
                address = rng();
            else
                address = edges[rng() % std::size(edges)] - rng() % 0x60;
            address = std::min(address, kAddressSpace - length);
            Bytes bytes(length);
            for (auto& b : bytes)
                b = static_cast<uint8_t>(rng());
            (void)image.Insert(address, bytes.data(), length); // an overlap is simply skipped
        }
        AreaList areas = test::AreasOf(image);
        SCOPED_TRACE("round " + std::to_string(round));
        std::string reference = Reference(areas, "ref.srec");

        test::WriteFile(dir / "ours.mot", test::SRecordText(image));
        test::WriteFile(dir / "ours.hex", test::IntelHexText(image));
        EXPECT_EQ(LoadFile("ours.mot"), areas);
        EXPECT_EQ(LoadFile("ours.hex"), areas);
        ExpectSame("ours.mot", "-Motorola", reference);
        ExpectSame("ours.hex", "-Intel", reference);

        if (compact) {
            StringSink bin;
            WriteBinaryRange(image, image.StartAddress(), image.EndAddress(), 0xFF, bin);
            test::WriteFile(dir / "ours.bin", bin.text);
            auto r = Run({"srec_cmp", "ours.bin", "-binary", "-offset", Hex(image.StartAddress()),
                          reference, "-Motorola", "-fill", "0xFF", Hex(image.StartAddress()),
                          Hex(image.EndAddress() + 1)});
            EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        }
    }
}

} // namespace
} // namespace vantrel
