#include "device/DeviceFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>

#include "base/TextScanner.h"
#include "base/UtilSnprintf.h"
#include "device/DeviceCodes.h"
#include "platform/Ui.h"

namespace vantrel {
namespace {

// Capacities of the parser's lists. Input beyond them refuses the file on that line.
constexpr std::size_t kMaxIdAddresses = 20;
constexpr std::size_t kMaxHwPairs = 9; // ten entries with the closing zero pair
constexpr std::size_t kTextSize = 256;
constexpr std::size_t kBlockNameSize = 200;

class DeviceFileParser {
  public:
    explicit DeviceFileParser(const char* text) : p_(text) {
        record_.version = 1;
        record_.fromDeviceFile = 1;
    }

    DeviceFileResult Run(const std::string& path) {
        DeviceFileResult result;
        while (*p_) {
            ParseLine();
            if (error_.Failed()) {
                // A text value's failure carries no words: it shows as an empty message.
                result.message = error_.text[0] == '\x01' ? "" : error_.Text();
                result.caption =
                    UTIL_format("Error reading device file %s, Line %d", {path, line_}, 255);
                return result;
            }
            SkipLine(p_);
            ++line_;
        }
        if (const char* missing = FinalCheck()) {
            result.message = std::string("Missing parameter: ") + missing;
            result.caption = UTIL_format("Error reading device file %s", {path}, 255);
            return result;
        }
        record_.serialSupport = static_cast<uint8_t>(serialSupport_);
        record_.parallelSupport = static_cast<uint8_t>(parallelSupport_);
        record_.hwRanges.push_back({0, 0}); // the closing pair
        result.record = std::move(record_);
        return result;
    }

  private:
    void ParseLine() {
        char keyword[kTextSize] = {};
        ReadLetters(error_, p_, keyword, sizeof keyword);
        if (*p_ == '/') return; // a comment
        std::string key = keyword;
        auto& r = record_;
        if (IsWordOnly(key)) return; // accepted, the rest of the line is not read
        if (!IsKeyword(key)) {
            error_.Set("Unknown identifier: " + key);
            return;
        }
        SkipBlanks(p_);
        ExpectChar(error_, p_, '=');
        if (key == "SpeedSettings") return SpeedSettings();
        if (key == "Version")
            r.version = static_cast<uint32_t>(Unsigned(1, 5000));
        else if (key == "Manufacturer")
            r.manufacturer = Text();
        else if (key == "Name")
            r.name = Text();
        else if (key == "Group")
            r.group = Text();
        else if (key == "Package")
            r.package = Text();
        else if (key == "RAM")
            r.ram = Hex(0, 0xFFFFFFFF);
        else if (key == "ROM")
            r.rom = Hex(0, 0xFFFFFFFF);
        else if (key == "EEPROM" || key == "OTP")
            Hex(0, 0xFFFFFFFF);
        else if (key == "Device")
            r.device = Text();
        else if (key == "Bank")
            Bank();
        else if (key == "ProgArea")
            ProgArea();
        else if (key == "ParallelSupport")
            parallelSupport_ = Unsigned(0, 3);
        else if (key == "SerialSupport")
            serialSupport_ = Unsigned(0, 3);
        else if (key == "BootSelect")
            r.bootSelect = Byte(Unsigned(0, 1));
        else if (key == "BootWarning")
            r.bootWarning = Byte(Unsigned(0, 1));
        else if (key == "SIFType")
            Enumeration(sifGiven_, r.sifType, SIFTypeByName, "SIFType: Unsupported interface");
        else if (key == "AlgoS")
            Enumeration(algoSGiven_, r.algoS, AlgoSByName, "AlgoS: Unsupported serial algorithm");
        else if (key == "AlgoP")
            Enumeration(algoPGiven_, r.algoP, AlgoPByName, "AlgoP: Unsupported parallel algorithm");
        else if (key == "VCC")
            Vcc();
        else if (key == "Vpp")
            Vpp();
        else if (key == "aHWRange")
            HwRanges();
        else if (key == "DisplayBLVersion")
            r.displayBLVersion = Byte(Unsigned(0, 1));
        else if (key == "IDLenMin")
            r.idLenMin = Byte(Unsigned(0, 15));
        else if (key == "IDLenMax")
            r.idLenMax = Byte(Unsigned(0, 15));
        else if (key == "IDLenAdr")
            r.idLenAdr = Hex(0, 0xFFFFFFFF);
        else if (key == "aIDAdr")
            IdAddresses();
        else if (key == "IDRange")
            IdRange();
        else if (key == "aConstIDData")
            ByteList(r.constIdData, "aConstIDData: Too much Parameter, limited to 30.");
        else if (key == "IDCheckFunction")
            IdCheckFunction();
        else if (key == "EnableClearAll")
            r.enableClearAll = Byte(Unsigned(0, 1));
        else if (key == "ProtectedBytes")
            ProtectedBytes();
        else if (key == "EnableClearChip")
            r.enableClearChip = Byte(Unsigned(0, 1));
        else if (key == "FlashOffset")
            r.flashOffset = Hex(0, 0xFFFFFFFF);
        else if (key == "ChipSpecifics")
            ByteList(r.chipSpecifics, "ChipSpecifics: Too much Parameter, limited to 30.");
    }

    static bool IsWordOnly(const std::string& key) {
        return key == "RAMsize" || key == "ROMsize" || key == "EEPROMsize" || key == "OTPsize";
    }

    static bool IsKeyword(const std::string& key) {
        static const char* const kKeywords[] = {"Version",
                                                "Manufacturer",
                                                "Name",
                                                "Group",
                                                "Package",
                                                "RAM",
                                                "ROM",
                                                "EEPROM",
                                                "OTP",
                                                "Device",
                                                "Bank",
                                                "ProgArea",
                                                "ParallelSupport",
                                                "SerialSupport",
                                                "BootSelect",
                                                "BootWarning",
                                                "SIFType",
                                                "AlgoS",
                                                "AlgoP",
                                                "VCC",
                                                "Vpp",
                                                "aHWRange",
                                                "DisplayBLVersion",
                                                "IDLenMin",
                                                "IDLenMax",
                                                "IDLenAdr",
                                                "aIDAdr",
                                                "IDRange",
                                                "aConstIDData",
                                                "IDCheckFunction",
                                                "EnableClearAll",
                                                "ProtectedBytes",
                                                "EnableClearChip",
                                                "FlashOffset",
                                                "ChipSpecifics",
                                                "SpeedSettings"};
        for (const char* k : kKeywords)
            if (key == k) return true;
        return false;
    }

    static uint8_t Byte(int32_t value) { return static_cast<uint8_t>(value); }

    // A decimal for a field that cannot hold a negative number: a minus sign is refused with
    // the minimum's message instead of being stored as a huge value.
    int32_t Unsigned(int32_t minimum, int32_t maximum) {
        int32_t value = 0;
        ReadDecimal(error_, p_, value, minimum, maximum);
        if (!error_.Failed() && value < 0) {
            error_.Set(UTIL_format("Expected a value >= %d", {minimum}));
            return 0;
        }
        return value;
    }

    uint32_t Hex(uint32_t minimum, uint32_t maximum) {
        uint32_t value = 0;
        ReadHex(error_, p_, value, minimum, maximum);
        return value;
    }

    std::string Text(std::size_t size = kTextSize) {
        char buffer[kTextSize] = {};
        ReadQuoted(error_, p_, buffer, size);
        return error_.Failed() ? std::string() : std::string(buffer);
    }

    void Comma() {
        SkipBlanks(p_);
        ExpectChar(error_, p_, ',');
    }

    // True when no error is pending and the next non-blank character is a comma.
    bool CommaFollows() const {
        if (error_.Failed()) return false;
        const char* q = p_;
        SkipBlanks(q);
        return *q == ',';
    }

    BankRange Range() {
        BankRange range;
        range.start = Hex(0, 0xFFFFFFFF);
        Comma();
        range.size = Hex(1, kMaxBankSize);
        return range;
    }

    // Every Bank line of a file adds its ranges to one flash area, the one the first Bank line
    // made, so the banks of several lines follow one another without empty slots.
    void Bank() {
        do {
            BankRange range = Range();
            if (error_.Failed()) return;
            if (bankArea_ < 0) AddBankArea();
            MemoryArea& area = record_.areas[static_cast<std::size_t>(bankArea_)];
            if (area.rangeCount >= static_cast<int32_t>(kMaxAreaRanges)) {
                error_.Set("Bank: Too many ranges, limited to 24.");
                return;
            }
            area.ranges[static_cast<std::size_t>(area.rangeCount++)] = range;
        } while (CommaFollows() && (Comma(), true));
    }

    void AddBankArea() {
        MemoryArea area;
        area.order = kFlashOrder;
        area.kind = 0;
        area.name = "FLASH";
        auto& areas = record_.areas;
        std::size_t at = 0;
        bool sameOrder = false;
        for (std::size_t i = 0; i < areas.size(); ++i) {
            if (areas[i].order == kFlashOrder) {
                at = i + 1;
                sameOrder = true;
                break;
            }
        }
        if (!sameOrder)
            while (at < areas.size() && areas[at].order < kFlashOrder)
                ++at;
        areas.insert(areas.begin() + static_cast<std::ptrdiff_t>(at), std::move(area));
        bankArea_ = static_cast<int>(at);
    }

    void ProgArea() {
        MemoryArea area;
        area.name = Text();
        Comma();
        area.order = Byte(Unsigned(0, 15));
        Comma();
        area.kind = Byte(Unsigned(0, 15));
        do {
            Comma();
            BankRange range = Range();
            if (error_.Failed()) return;
            if (area.rangeCount >= static_cast<int32_t>(kMaxAreaRanges)) {
                error_.Set("ProgArea: Too many ranges, limited to 24.");
                return;
            }
            area.ranges[static_cast<std::size_t>(area.rangeCount++)] = range;
        } while (CommaFollows());
        auto& areas = record_.areas;
        std::size_t at = areas.size();
        while (at > 0 && areas[at - 1].order > area.order)
            --at;
        areas.insert(areas.begin() + static_cast<std::ptrdiff_t>(at), std::move(area));
        if (bankArea_ >= 0 && static_cast<int>(at) <= bankArea_) ++bankArea_;
    }

    // A name with or without double quotes, looked up exactly.
    template <typename Lookup>
    void Enumeration(bool& given, uint8_t& code, Lookup lookup, const char* unknown) {
        given = true;
        char name[kTextSize] = {};
        ReadQuoted(error_, p_, name, sizeof name);
        if (error_.Failed()) {
            error_.Clear();
            ReadAlnum(error_, p_, name, sizeof name);
        }
        if (auto value = lookup(name))
            code = *value;
        else
            error_.Set(unknown);
    }

    void Vcc() {
        int32_t low = Unsigned(2000, 5000);
        SkipBlanks(p_);
        ExpectChar(error_, p_, '-');
        int32_t high = Unsigned(2000, 6000);
        if (error_.Failed()) return;
        record_.vMin = Byte(low / 100);
        record_.vMax = Byte(high / 100);
    }

    void Vpp() {
        vppGiven_ = true;
        int32_t millivolts = 0;
        ReadDecimal(error_, p_, millivolts, 2000, 12500);
        if (!error_.Failed() && millivolts >= 0) {
            record_.vpp = Byte(millivolts / 100);
            return;
        }
        error_.Clear();
        char word[kTextSize] = {};
        ReadLetters(error_, p_, word, sizeof word);
        if (std::strcmp(word, "VCC") == 0 || std::strcmp(word, "nc") == 0)
            record_.vpp = 0;
        else
            error_.Set("Unexpected identifier : Expecting VCC or nc");
    }

    // A later aHWRange line adds its pairs to the list of the earlier ones; the list gets its
    // closing zero pair once, at the end of the file.
    void HwRanges() {
        do {
            HwRange pair;
            ReadDecimal(error_, p_, pair.lower, 0, 1000);
            Comma();
            ReadDecimal(error_, p_, pair.upper, pair.lower, 1000);
            if (error_.Failed()) return;
            if (record_.hwRanges.size() >= kMaxHwPairs) {
                error_.Set("aHWRange: Too many ranges, limited to 9.");
                return;
            }
            record_.hwRanges.push_back(pair);
        } while (CommaFollows() && (Comma(), true));
    }

    void IdAddresses() {
        do {
            uint32_t address = Hex(0, 0xFFFFFFFF);
            if (error_.Failed()) return;
            if (record_.idAddresses.size() >= kMaxIdAddresses) {
                error_.Set("aIDAdr: Too many addresses, limited to 20.");
                return;
            }
            record_.idAddresses.push_back(address);
        } while (CommaFollows() && (Comma(), true));
    }

    void IdRange() {
        uint32_t first = Hex(0, 0xFFFFFFFF);
        Comma();
        uint32_t last = Hex(0, 0xFFFFFFFF);
        if (error_.Failed()) return;
        record_.idRangeFirst = first;
        record_.idRangeLast = last;
    }

    void ByteList(std::vector<uint8_t>& list, const char* tooMany) {
        do {
            uint32_t value = Hex(0, 0xFF);
            if (error_.Failed()) return;
            if (list.size() >= kMaxIdBytes) {
                error_.Set(tooMany);
                return;
            }
            list.push_back(static_cast<uint8_t>(value));
        } while (CommaFollows() && (Comma(), true));
    }

    void IdCheckFunction() {
        char word[kTextSize] = {};
        ReadAlnum(error_, p_, word, sizeof word);
        if (error_.Failed()) return;
        if (auto check = IdCheckByName(word))
            record_.idCheck = *check;
        else
            error_.Set("IDCheckFunction: Unknown function defined");
    }

    // The first address follows the closing quote after blanks only; more after commas.
    void ProtectedBytes() {
        ProtectedBlock block;
        block.name = Text(kBlockNameSize);
        block.addresses[0] = Hex(0, 0xFFFFFFFF);
        block.count = 1;
        while (CommaFollows()) {
            if (block.count >= static_cast<int32_t>(kMaxProtectedAddresses)) {
                error_.Set("Too many bytes in protected block");
                return;
            }
            Comma();
            block.addresses[static_cast<std::size_t>(block.count++)] = Hex(0, 0xFFFFFFFF);
        }
        if (error_.Failed()) return;
        record_.protectedBlocks.push_back(std::move(block));
    }

    void SpeedSettings() {
        if (error_.Failed()) {
            error_.Set("SpeedSettings: Wrong syntax, expected '='");
            return;
        }
        do {
            std::string text = Text(kBlockNameSize);
            if (error_.Failed()) {
                error_.Set("SpeedSettings: Wrong parameter, expected a string.");
                record_.speedSettings.clear();
                return;
            }
            record_.speedSettings.push_back(std::move(text));
        } while (CommaFollows() && (Comma(), true));
    }

    const char* FinalCheck() const {
        const auto& r = record_;
        if (r.device.empty()) return "Device not specified";
        if (r.manufacturer.empty()) return "Manufacturer not specified";
        if (r.areas.empty()) return "No Memory bank or programable area specified";
        if (r.hwRanges.empty() || r.hwRanges[0].lower == 0) return "aHWRange not specified";
        if (!algoSGiven_ && !algoPGiven_) return "Algorithm (AlgoS or AlgoP) not specified";
        if (algoSGiven_ != sifGiven_) return "AlgoS and SIFType not specified";
        if (r.vMin == 0) return "VMin invalid or missing";
        if (r.vMax < r.vMin) return "VMax invalid or missing";
        if (!vppGiven_) return "Vpp not specified";
        if (parallelSupport_ == 0 && serialSupport_ == 0)
            return "Either parallel or serial support has to be enabled!";
        return nullptr;
    }

    const char* p_;
    ScanError error_;
    int line_ = 1;
    DeviceRecord record_;
    bool sifGiven_ = false, algoSGiven_ = false, algoPGiven_ = false, vppGiven_ = false;
    int32_t parallelSupport_ = 0;
    int32_t serialSupport_ = 3;
    int bankArea_ = -1; // index of the flash area of the Bank lines
};

bool HasDevExtension(const char* name) {
    std::size_t n = std::strlen(name);
    return n >= 4 && strcasecmp(name + n - 4, ".dev") == 0;
}

// Reads at most kDeviceFileMaxText bytes of `path` into `buffer` and terminates them.
bool ReadDeviceFileText(const std::string& path, char* buffer) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::size_t total = 0;
    bool ok = true;
    while (total < kDeviceFileMaxText) {
        ssize_t n = ::read(fd, buffer + total, kDeviceFileMaxText - total);
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) break;
        total += static_cast<std::size_t>(n);
    }
    ::close(fd);
    buffer[total] = '\0';
    return ok;
}

} // namespace

DeviceFileResult ParseDeviceText(const char* text, const std::string& path) {
    return DeviceFileParser(text).Run(path);
}

bool ParseDeviceFile(Ui& ui, DeviceTable& table, const char* text, const std::string& path) {
    DeviceFileResult result = ParseDeviceText(text, path);
    if (!result.record) {
        ui.MessageBox(result.message, result.caption, MsgButtons::Ok, MsgIcon::None, MsgAnswer::Ok);
        return false;
    }
    return AddDevice(ui, table, std::move(*result.record)) >= 0;
}

std::optional<std::string> LoadDeviceFilesFrom(Ui& ui, DeviceTable& table,
                                               const std::string& directory) {
    auto buffer = std::make_unique<char[]>(0x10000);
    bool matched = false;
    if (DIR* dir = ::opendir(directory.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            if (!HasDevExtension(entry->d_name)) continue;
            std::string path = directory + entry->d_name;
            struct stat info {};
            if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
            matched = true;
            if (ReadDeviceFileText(path, buffer.get()))
                ParseDeviceFile(ui, table, buffer.get(), path);
        }
        ::closedir(dir);
    }
    if (matched) return std::nullopt;
    return UTIL_format("Can not find device file in directory %s", {directory}, 1024);
}

std::optional<std::string> LoadDeviceFiles(Ui& ui, DeviceTable& table,
                                           const std::string& programDirectory) {
    return LoadDeviceFilesFrom(ui, table, programDirectory + "Device/");
}

} // namespace vantrel
