#include "base/Codes.h"

#include <map>

#include "base/UtilSnprintf.h"

namespace vantrel {
namespace {

struct ResultTexts {
    const char* report;
    const char* brief; // nullptr: the same as report
};

const std::map<int32_t, ResultTexts>& ProgrammerResults() {
    static const std::map<int32_t, ResultTexts> table = {
        {1, {"Erase failed", nullptr}},
        {2, {"Programming failed at Addr: 0x%X", "Write failed"}},
        {3, {"Verification failed !\r\nAddr 0x%X: 0x%.2X (expected 0x%.2X)", "Verify failed"}},
        {4, {"Blank check failed !\r\nAddr 0x%X: 0x%.2X (expected 0x%.2X)", "Blank check failed"}},
        {5, {"Flash write/erase timed out", nullptr}},
        {6, {"Can not write into this memory area", nullptr}},
        {7, {"Canceled", nullptr}},
        {8, {"Erase failed", nullptr}},
        {9, {"Programming failed (0)", nullptr}},
        {10, {"Programming failed (1)", nullptr}},
        {21, {"Version read failure: Rx line problem ?", nullptr}},
        {30, {"No ID", nullptr}},
        {31, {"ID mismatch", nullptr}},
        {32, {"ID mismatch", nullptr}},
        {33, {"Vantrel supply out of specification.", "Vantrel supply out of specification"}},
        {40, {"Target chip says \"BUSY\"", nullptr}},
        {41, {"Target chip: Busy does not react", nullptr}},
        {42, {"Target chip says \"BUSY\" during data transfer", nullptr}},
        {43, {"Timeout of target", nullptr}},
        {44, {"Timeout during async. data reception.", nullptr}},
        {45, {"Wrong reply received during async. communication.", nullptr}},
        {46, {"Wrong reply on baudrate command.", nullptr}},
        {47, {"No reply on initial sequence.", nullptr}},
        {50, {"Vpp fail", nullptr}},
        {51, {"Vcc fail", nullptr}},
        {52, {"Adress line failure (short to GND ?]", nullptr}},
        {54, {"Data line failure (short to GND ?]", nullptr}},
        {55, {"CRC check in programmer failed", nullptr}},
        {56, {"Internal VCC drop during operation", nullptr}},
        {57, {"Parallel device VCC drop during operation", nullptr}},
        {58, {"DAC for Vpp not calibrated", nullptr}},
        {59, {"Already calibrated, FATAL ERROR", nullptr}},
        {60, {"Unsupported interface, check device setting", nullptr}},
        {61, {"Unsupported command", nullptr}},
        {62, {"No target data, please download", nullptr}},
        {63, {"VANTREL lost Setup", nullptr}},
        {64, {"S/N can not be modified!", nullptr}},
        {65, {"SD-card was removed !", "SD-card was removed, please insert !"}},
        {66, {"Write operation to SD card failed !", nullptr}},
        {70, {"Illegal start byte received", nullptr}},
        {71, {"No start byte received", nullptr}},
        {72, {"No acknowledge received", nullptr}},
        {73, {"Target: communication timed out", nullptr}},
        {74, {"RAMCode does not respond after start byte", nullptr}},
        {75, {"RAMCode does not work", nullptr}},
        {76, {"RAMCode does not respond command", nullptr}},
        {77, {"RAMCode did not finish correctly", nullptr}},
        {78, {"Target CPU not supported (Wrong Product identifier)", nullptr}},
        {79, {"Target CPU RAM-Test error", nullptr}},
        {80, {"Could not enter ICC mode", nullptr}},
        {81, {"Timeout during serial data transfer", nullptr}},
        {82, {"Option byte read failed", nullptr}},
        {83, {"Option byte programming failed", nullptr}},
        {84, {"Program All function failed", nullptr}},
        {85, {"Target is read protected", nullptr}},
        {86, {"CRC check in target failed", nullptr}},
        {87, {"Device file for ST7 invalid", nullptr}},
        {88, {"Target is write protected !", nullptr}},
        {90,
         {"Could not connect to target. No reply from bootloader.",
          "No reply from target bootloader !"}},
        {91, {"Wrong reply from SBOOT on Baudrate change command !", "Wrong reply from SBOOT !"}},
        {92,
         {"Wrong command reply from SBOOT on RAMLoader command !",
          "Wrong command reply from SBOOT !"}},
        {93, {"Error during communication to SBOOT (Overrun framing etc.)", nullptr}},
        {94, {"Download of RamCode failed.", nullptr}},
        {95, {"Wrong checksum after RamCode download.", nullptr}},
    };
    return table;
}

const std::map<int32_t, const char*>& PcTexts() {
    static const std::map<int32_t, const char*> table = {
        {202, "Blank check failed"},
        {203, "Verify failed"},
        {204, "Clear target failed"},
        {205, "Target auto function failed"},
        {206, "Programming target failed"},
        {207, "Reading target failed"},
        {208, "Start application failed"},
        {209, "No response from Vantrel (Timeout)"},
        {210, "Could not open source file"},
        {214, "Firmware mismatch !!!\r\nYou have to download new firmware to continue!"},
        {215, "The selected target chip is not supported by the connected programmer."},
        {216, "Session mismatch\r\nResetting connection"},
        {217, "Vantrel refuses connection\r\nDid you select a chip which is not supported "
              "?\r\nResetting connection"},
        {218, "None of the selected com ports is available !"},
        {219, "Error in HEX file"},
        {220, "Invalid file extension, use .MOT, .HEX or .BIN"},
        {221, "Invalid file name"},
        {222, "Error in Protocol Manager"},
        {223, "VCCS > VCCSmax\r\n(Target supply voltage too high...)"},
        {224, "VCCS < VCCSmin\r\n(Target supply voltage too low ...)"},
        {225, "Vantrel Input voltage too low"},
        {226, "Assertion"},
        {227, "Invalid default program settings found.\r\nPlease setup device."},
        {228, "Vantrel not ready !"},
        {229, "Invalid commandline option"},
        {230, "Vantrel defect !!! \r\nTarget interface does not work."},
        {231, "File merge: Areas overlap...\r\nCheck HEX file contents !!!"},
        {232, "No devices defined.\r\nPlease check whether the device file is present.\r\n\r\n"
              "Program will be closed!"},
    };
    return table;
}

const char* const kBreakdown = "Breakdown of communication between Vantrel and PC";

bool SerialRule(uint32_t serial) {
    return serial / 1000 == 3 || serial / 10000 == 3;
}

} // namespace

std::string ErrorText(int32_t code, const ProgrammerStatus& status) {
    if (code == 0) return {};
    if (code == -1) return status.state == kStateNoCommunication ? kBreakdown : "Unknown error !";
    if (auto it = ProgrammerResults().find(code); it != ProgrammerResults().end()) {
        if (code >= 2 && code <= 4)
            return UTIL_format(it->second.report,
                               {status.currentAddress, status.readByte, status.expectedByte});
        return it->second.report;
    }
    if (auto it = PcTexts().find(code); it != PcTexts().end()) return it->second;
    return "Unknown error !";
}

std::string ResultText(const ProgrammerStatus& status) {
    if (status.state == kStateNoCommunication) return kBreakdown;
    if (status.result == 0) return "O.K.";
    if (auto it = ProgrammerResults().find(status.result); it != ProgrammerResults().end())
        return it->second.brief ? it->second.brief : it->second.report;
    return "Error";
}

std::string StateText(uint8_t state) {
    static const std::map<int, const char*> table = {
        {0, "Ready"},
        {1, "Initializing"},
        {2, "Clearing"},
        {3, "Writing"},
        {4, "Reading"},
        {5, "Verifying"},
        {6, "Blank checking"},
        {7, "Idle"},
        {8, "Resetting"},
        {9, "Powerfailure (Check Vin)"},
        {10, "Checking memory"},
        {11, "Filling memory"},
        {13, "Verifying erase operation"},
        {14, "Calculating/Verifying CRC"},
        {16, "Connecting to target"},
        {20, "Testing on board RAM (1/6)"},
        {21, "Testing on board RAM (2/6)"},
        {22, "Testing on board RAM (3/6)"},
        {23, "Testing on board RAM (4/6)"},
        {24, "Testing on board RAM (5/6)"},
        {25, "Testing on board RAM (6/6)"},
        {26, "Uploading"},
        {27, "Download"},
        {28, "Download Firmware"},
        {100, "Refused (bad data format ?) !!!"},
        {101, "Wrong type !!!"},
        {200, "No communication"},
    };
    auto it = table.find(state);
    return it != table.end() ? it->second : "Busy";
}

std::string HardwareName(const ProgrammerStatus& status) {
    bool rule = SerialRule(status.serialNumber);
    switch (status.hardwareVersion) {
    case 100:
        return "Vantrel 1";
    case 200:
        return "Vantrel 2";
    case 300:
        return "Vantrel 3";
    case 310:
        return "Vantrel 3S";
    case 311:
    case 320:
        return "Vantrel 3SR1";
    case 400:
        return rule ? "Vantrel 3 Rev.4" : "Vantrel 4";
    case 410:
        return rule ? "Vantrel 3 Rev.4" : "Vantrel 4 Rev.1";
    case 411:
        return rule ? "Vantrel 3 Rev.4a" : "Vantrel 4 Rev.1a";
    case 421:
        return "Vantrel ST7";
    case 500:
    case 510:
    case 570:
        return status.hardwareVariant == 0 ? "Vantrel ST7" : "Vantrel 5";
    case 520:
        return "Vantrel 5 Rev.2";
    case 571:
    case 572:
        return "Vantrel ST7";
    case 580:
        return "Vantrel 5T";
    default:
        return UTIL_format("Vantrel HW %d.%.2d",
                           {status.hardwareVersion / 100, status.hardwareVersion % 100});
    }
}

uint16_t EffectiveHardwareVersion(const ProgrammerStatus& status) {
    uint16_t hw = status.hardwareVersion;
    if ((hw == 400 || hw == 410 || hw == 411) && SerialRule(status.serialNumber)) return 300;
    return hw;
}

std::string FirmwareVersionText(uint32_t version) {
    std::string text = UTIL_format("%d.%.2d", {version / 10000, (version / 100) % 100});
    uint32_t revision = version % 100;
    if (revision != 0) text += static_cast<char>(96 + revision);
    return text;
}

bool FirmwareAccepted(uint32_t version) {
    return version / 100 == 200;
}

} // namespace vantrel
