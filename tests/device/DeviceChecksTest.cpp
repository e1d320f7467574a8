// The ID checks on the image and support by the connected programmer.
#include <gtest/gtest.h>

#include "DeviceTestData.h"
#include "app/App.h"
#include "base/ProgrammerStatus.h"
#include "device/DeviceChecks.h"
#include "device/DeviceSelection.h"
#include "device/ImageView.h"
#include "image/MemoryImage.h"
#include "support/AppFixture.h"
#include "support/StatusRef.h"

namespace vantrel {
namespace {

// An image given as single bytes, enough for the checks.
struct Image {
    MemoryImage memory;
    Image(std::initializer_list<std::pair<uint32_t, uint8_t>> bytes) {
        for (auto [address, value] : bytes)
            EXPECT_TRUE(memory.Insert(address, &value, 1));
    }
    ImageView View() const { return ImageView(memory); }
};

class Checks : public test::AppFixture {
  protected:
    void Select(DeviceRecord d) {
        AddDevice(ui, app->devices, d);
        app->selection.SelectDeviceByName(d.device);
        app->selection.SelectAllBanks();
    }
    DeviceRecord M7906() {
        auto d = test::Sample("M79");
        d.idLenAdr = 0xFF9F;
        d.idAddresses.clear();
        for (uint32_t a = 0xFF90; a < 0xFF9F; ++a)
            d.idAddresses.push_back(a);
        d.idCheck = IdCheck::M7906;
        return d;
    }
    // `optionBytes` of the option area at 10000 are selected for programming (0: no option area).
    DeviceRecord ST7(IdCheck check, uint32_t optionBytes = 4) {
        auto d = test::Sample("ST7");
        d.areas = {test::Area("FLASH", 7, {{0x8000, 0x8000}})};
        if (optionBytes) d.areas.push_back(test::Area("OPTION", 8, {{0x10000, optionBytes}}));
        d.protectedBlocks = {test::Block("RC", {0xFFDE})};
        d.idCheck = check;
        return d;
    }
};

TEST_F(Checks, M7906) {
    Select(M7906());
    app->selection.fillByte = 0xFF;
    struct Case {
        Image image;
        bool warns;
    };
    const Case cases[] = {
        {Image{{0xFF9F, 7}}, false},
        {Image{{0xFF9F, 0}}, true},
        {Image{{0xFF9F, 0x10}}, true},
        {Image{{0xFF9F, 0xFF}}, false}, // ID bytes absent: the fill byte 0xFF
        {Image{{0xFF95, 0x12}, {0xFF9F, 0xFF}}, true},
        {Image{}, false}, // length byte absent: 0xFF, ID erased
    };
    for (const auto& c : cases) {
        auto warning = RunIdCheck(app->selection, c.image.View());
        EXPECT_EQ(warning.has_value(), c.warns);
        if (warning) {
            EXPECT_EQ(*warning, kWarnInvalidId);
        }
    }
    app->selection.fillByte = 0x00; // ID bytes absent now read as 0: invalid
    EXPECT_EQ(RunIdCheck(app->selection, Image{{0xFF9F, 0xFF}}.View()), kWarnInvalidId);
}

TEST_F(Checks, ST7XStates) {
    Select(ST7(IdCheck::ST7X, 1)); // only the option byte at 10000 is programmed
    struct Case {
        Image image;
        bool protectedSelected;
        const char* warning;
    };
    const Case cases[] = {
        {Image{}, false, kWarnNoOptionBytes},
        {Image{{0x10000, 0x81}}, false, kWarnWriteProtection},
        {Image{{0x10000, 0x83}}, false, kWarnReadWriteProtect},
        {Image{{0x10000, 0x80}}, false, nullptr},
        {Image{{0x10000, 0x82}}, false, nullptr}, // read protection, no protected byte selected
        {Image{{0x10000, 0x82}}, true, kWarnReadProtection},
    };
    for (const auto& c : cases) {
        app->selection.protectedFlags[0] = c.protectedSelected;
        auto warning = RunIdCheck(app->selection, c.image.View());
        EXPECT_EQ(warning.value_or(""), c.warning ? c.warning : "");
    }
    // Both option bytes programmed: the one at 10002 decides.
    auto both = ST7(IdCheck::ST7X, 4);
    both.device = "ST7B";
    Select(both);
    app->selection.protectedFlags[0] = false;
    EXPECT_FALSE(RunIdCheck(app->selection, Image{{0x10000, 0x81}, {0x10002, 0x80}}.View()));
    EXPECT_EQ(RunIdCheck(app->selection, Image{{0x10000, 0x80}, {0x10002, 0x83}}.View()),
              kWarnReadWriteProtect);
    EXPECT_EQ(RunIdCheck(app->selection, Image{{0x10000, 0x81}}.View()), kWarnNoOptionBytes);
    // A device with chip-specific bytes keeps its calibration: no W3.
    auto withSpecifics = ST7(IdCheck::ST7X, 1);
    withSpecifics.device = "ST7S";
    withSpecifics.chipSpecifics = {1};
    Select(withSpecifics);
    app->selection.protectedFlags[0] = true;
    EXPECT_FALSE(RunIdCheck(app->selection, Image{{0x10000, 0x82}}.View()));
    // Option bytes outside the program ranges are not looked at.
    auto noOption = ST7(IdCheck::ST7X, 0);
    noOption.device = "ST7N";
    Select(noOption);
    EXPECT_FALSE(RunIdCheck(app->selection, Image{}.View()));
}

TEST_F(Checks, ST7WarnsAboutMissingOptionBytes) {
    Select(ST7(IdCheck::ST7));
    EXPECT_EQ(RunIdCheck(app->selection, Image{}.View()), kWarnNoOptionBytes); // W5 only
    EXPECT_EQ(RunIdCheck(app->selection, Image{{0x10000, 0}}.View()), kWarnNoPreprogramBytes);
    EXPECT_FALSE(RunIdCheck(app->selection, Image{{0x10000, 0}, {0x10002, 0}}.View()));
    for (IdCheck quiet : {IdCheck::TMP91, IdCheck::TLCS870, IdCheck::None}) {
        auto d = ST7(quiet);
        d.device = std::string("Q") + std::to_string(static_cast<int>(quiet));
        Select(d);
        EXPECT_FALSE(RunIdCheck(app->selection, Image{}.View()));
    }
}

TEST_F(Checks, SupportedByProgrammer) {
    auto d = test::Sample("HW");
    d.hwRanges = {{3, 4}, {0, 0}};
    Select(d);
    ProgrammerStatus status;
    status.firmwareVersion = 18000;
    status.hardwareVersion = 300;
    EXPECT_FALSE(SupportedByProgrammer(app->selection, status, 0));
    app->devices.records[0].hwRanges = {{100, 400}, {0, 0}};
    EXPECT_TRUE(SupportedByProgrammer(app->selection, status, 0));
    app->devices.records[0].hwRanges = {{0, 0}, {100, 400}}; // the list ends at lower bound 0
    EXPECT_FALSE(SupportedByProgrammer(app->selection, status, 0));
    EXPECT_FALSE(SupportedByProgrammer(app->selection, status, 1)); // no such device

    // Newer programmers: the lists they report.
    status.hardwareVersion = 510;
    status.supportedAlgorithms = {130};
    status.supportedInterfaces = {0};
    EXPECT_TRUE(SupportedByProgrammer(app->selection, status, 0));
    status.supportedInterfaces = {12};
    EXPECT_FALSE(SupportedByProgrammer(app->selection, status, 0));
    status.supportedInterfaces = {0};
    app->devices.records[0].serialSupport = 0;
    app->devices.records[0].parallelSupport = 1;
    app->devices.records[0].algoP = 1;
    EXPECT_FALSE(SupportedByProgrammer(app->selection, status, 0));
    status.supportedAlgorithms = {1};
    EXPECT_FALSE(SupportedByProgrammer(app->selection, status, 0)); // no parallel flag
    status.parallelFlag = 1;
    EXPECT_TRUE(SupportedByProgrammer(app->selection, status, 0));
}

} // namespace
} // namespace vantrel
