// The sample database shipped in examples/Device: every file reads without a message, it covers
// every algorithm, interface and ID check, the description files replace listed devices, and
// vantrel-cli selects its devices by name.
#include <gtest/gtest.h>

#include <set>

#include "app/App.h"
#include "device/DeviceCodes.h"
#include "device/DeviceCsv.h"
#include "device/DeviceFile.h"
#include "support/AppFixture.h"
#include "support/Process.h"

namespace vantrel {
namespace {

const std::filesystem::path kSamples = VANTREL_SAMPLE_DEVICES;
const std::filesystem::path kBroken = VANTREL_BROKEN_DEVICES;

class SampleDatabase : public test::AppFixture {
  protected:
    void Load(const std::filesystem::path& device) {
        std::filesystem::create_directory(dir / "Device");
        for (const auto& entry : std::filesystem::directory_iterator(device))
            std::filesystem::copy_file(entry.path(), dir / "Device" / entry.path().filename());
        app->programDirectory = dir.Path().string() + "/";
        ReadDeviceCsv(ui, app->devices, app->programDirectory);
        LoadDeviceFiles(ui, app->devices, app->programDirectory);
    }
};

TEST_F(SampleDatabase, ReadsWithoutMessagesAndCoversEveryCode) {
    Load(kSamples);
    for (const auto& b : ui.boxes)
        ADD_FAILURE() << b.caption << ": " << b.text;
    EXPECT_GE(DeviceCount(app->devices), 40);
    std::set<std::string> algoS, algoP, sif, checks;
    std::set<std::string> fromFiles;
    for (const auto& d : app->devices.records) {
        if (d.serialSupport) {
            algoS.insert(AlgoSName(d.algoS));
            sif.insert(SIFTypeName(d.sifType));
        }
        if (d.parallelSupport) algoP.insert(AlgoPName(d.algoP));
        if (d.idCheck != IdCheck::None) checks.insert(IdCheckName(d.idCheck));
        if (d.fromDeviceFile) fromFiles.insert(d.device);
    }
    EXPECT_EQ(algoS.size(), 18u);
    EXPECT_EQ(algoP, (std::set<std::string>{"P60", "P20", "P62N"}));
    EXPECT_EQ(sif.size(), 13u);
    EXPECT_EQ(checks.size(), 5u);
    EXPECT_FALSE(algoS.contains("Wrong value"));
    EXPECT_FALSE(sif.contains("Wrong value"));
    EXPECT_GE(fromFiles.size(), 30u);
    // The list names NR16C62A too; the description file, read later, replaced it in its slot.
    int slot = FindDevice(app->devices, "NR16C62A");
    ASSERT_GE(slot, 0);
    EXPECT_LT(slot, 12);
    EXPECT_EQ(app->devices.records[static_cast<std::size_t>(slot)].fromDeviceFile, 1);
    EXPECT_EQ(app->devices.records[static_cast<std::size_t>(slot)].name, "NR16C62A");
}

TEST_F(SampleDatabase, BrokenFilesGiveTheirMessagesAndAddNothing) {
    Load(kBroken);
    EXPECT_EQ(DeviceCount(app->devices), 0);
    std::map<std::string, std::pair<std::string, std::string>> seen; // file -> caption, text
    for (const auto& b : ui.boxes) {
        auto name = b.caption.substr(b.caption.rfind('/') + 1);
        seen[name.substr(0, name.find(".dev") + 4)] = {b.caption.substr(b.caption.find(".dev") + 4),
                                                       b.text};
    }
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(seen["unterminated_text.dev"], (P{", Line 2", ""}));
    EXPECT_EQ(seen["lowercase_keyword.dev"], (P{", Line 2", "Unknown identifier: manufacturer"}));
    EXPECT_EQ(seen["missing_vpp.dev"], (P{"", "Missing parameter: Vpp not specified"}));
    EXPECT_EQ(seen["protected_17.dev"], (P{", Line 3", "Too many bytes in protected block"}));
    EXPECT_EQ(seen["bank_prefix.dev"], (P{", Line 3", "Expected ',', got 'x'"}));
    EXPECT_EQ(seen.size(), 5u);
}

struct Cli : ::testing::Test {
    test::TempDir dir;
    std::filesystem::path cli = test::Install("vantrel-cli", dir.Path());
    Cli() { std::filesystem::copy(kSamples, dir / "Device"); }
    test::ProcessResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), cli.string());
        return test::RunProcess(args, dir.Path());
    }
};

TEST_F(Cli, SelectsASampleDeviceByName) {
    // The passcode length is checked against the selected device: 7 bytes for NR16C62A.
    auto r = Run({"-seldeviceNR16C62A", "-password7,1,2,3,4,5,6,7", "-exit"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    r = Run({"-seldeviceNR507F", "-password7,1,2,3,4,5,6,7", "-exit"});
    EXPECT_EQ(r.exitCode, 211);
    EXPECT_NE(
        r.err.find("Invalid passcode length: 7,\r\nMinimum length is 0,\r\nMaximum lenght is 0 !"),
        std::string::npos)
        << r.err;
}

TEST_F(Cli, UnknownDeviceNameIsReported) {
    // Without a device set up, the start-up then also finds no valid device: 227.
    auto r = Run({"-seldeviceNR16C62a", "-exit"});
    EXPECT_EQ(r.exitCode, 227);
    EXPECT_NE(r.err.find("The devicename 'NR16C62a' was unknown."), std::string::npos) << r.err;

    // With a device set up, the misspelling ends the run and the set-up device stays.
    ASSERT_EQ(Run({"-seldeviceNR16C62A"}).exitCode, 0);
    r = Run({"-seldeviceNR16C62a", "-exit"});
    EXPECT_EQ(r.exitCode, 211);
    EXPECT_NE(test::ReadFile(dir / "vantrel.ini").find("\"NR16C62A\""), std::string::npos);
    EXPECT_NE(r.err.find("The devicename 'NR16C62a' was unknown.\r\nPlease check your "
                         "configuration!\r\n"),
              std::string::npos)
        << r.err;
}

} // namespace
} // namespace vantrel
