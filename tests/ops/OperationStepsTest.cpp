// The parts of the target operations that need no programmer: the progress text, the supply
// check against the device's voltages, and the table of sequences.
#include <gtest/gtest.h>

#include "../device/DeviceTestData.h"
#include "base/CommandIds.h"
#include "ops/OperationSteps.h"
#include "ops/Operations.h"
#include "ops/ProgressDialog.h"
#include "support/AppFixture.h"
#include "support/StatusRef.h"

namespace vantrel {
namespace {

TEST(ProgressText, PercentOfTheRangeAndTheTransferSize) {
    struct Case {
        int position;
        bool transfer;
        uint32_t total;
        const char* text;
    };
    const Case cases[] = {
        {0, false, 0, "0%"},
        {37, false, 0, "37%"},
        {100, false, 0, "100%"},
        {150, false, 0, "50%"}, // beyond the range: modulo 100
        {42, true, 65536, "42% of 65536 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ProgressText(c.position, 0, 100, c.transfer, c.total), c.text);
    }
}

class Supply : public test::AppFixture {
  protected:
    Supply() {
        DeviceRecord d = test::Sample(); // VCC 2.7 .. 5.5 V
        d.vpp = 50;                      // 5.0 V: Vin must reach 8.0 V
        app->devices.records = {d};
        app->devices.index = {{d.device, 0}};
        app->selection.SelectDevice(0);
    }
};

TEST_F(Supply, VoltagesOutsideTheDeviceRangeRefuseTheOperation) {
    struct Case {
        const char* name;
        uint8_t interfaceInUse;
        uint16_t hardware;
        uint16_t target;
        uint16_t vin;
        int32_t error; // 0: not refused
        const char* text;
    };
    const Case cases[] = {
        {"in range", 1, 510, 3300, 12000, 0, ""},
        {"at the upper limit + 50 mV", 1, 510, 5550, 12000, 0, ""},
        {"above it", 1, 510, 5551, 12000, 223, ""},
        {"30 mV below the lower limit", 1, 510, 2670, 12000, 0, ""},
        {"below that", 1, 510, 2669, 12000, 224, ""},
        {"Vin too low", 1, 510, 3300, 7999, 225,
         "Vin < 8.0 Volt\r\n(Vantrel supply voltage too low ...)"},
        {"in the socket: not measured", 0, 510, 9000, 0, 0, ""},
        {"old programmer: not measured", 1, 299, 9000, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::StatusRef status{app->pm};
        status->interfaceInUse = c.interfaceInUse;
        status->hardwareVersion = c.hardware;
        status->targetVoltage = c.target;
        status->inputVoltage = c.vin;
        const uint32_t before = app->errorCount;
        EXPECT_EQ(OP_CheckSupply(*app), c.error != 0);
        EXPECT_EQ(app->errorCount - before, c.error != 0 ? 1u : 0u);
        if (c.error != 0) {
            EXPECT_EQ(GetLastErrorCode(*app), c.error);
            if (*c.text) {
                EXPECT_EQ(app->lastErrorText, c.text);
            }
        }
        EXPECT_EQ(app->pm.JobCount(), 0); // nothing queued
    }
}

TEST(OperationTable, EveryTargetCommandHasOneRow) {
    const int commands[] = {cmd::kCheckBlank, cmd::kClear,    cmd::kClearChip,     cmd::kClearAll,
                            cmd::kVerify,     cmd::kProgram,  cmd::kProgramVerify, cmd::kReadBack,
                            cmd::kUpload,     cmd::kDownload, cmd::kStart};
    for (int command : commands) {
        SCOPED_TRACE(command);
        ASSERT_NE(FindOperation(command), nullptr);
    }
    EXPECT_EQ(OperationTable().size(), std::size(commands));
    EXPECT_STREQ(FindOperation(cmd::kVerify)->success, "All loaded bytes verified O.K. !");
}

} // namespace
} // namespace vantrel
