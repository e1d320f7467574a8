#include "device/DeviceCsv.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "base/TextScanner.h"
#include "device/DeviceCodes.h"
#include "device/DeviceSelection.h"
#include "platform/Ui.h"

namespace vantrel {
namespace {

constexpr const char* kHeader[] = {
    "Manufacturer", "Name",          "Group",          "Package",
    "RAM",          "Device",        "Bank",           "ProgArea",
    "Par",          "Ser",           "BootSel",        "BootWarn",
    "SIF",          "AlgoS",         "AlgoP",          "VCC",
    "Vpp",          "DispBLVer",     "EnClrChip",      "EnClrAll",
    "IDLenMin",     "IDLenMax",      "IDLenAdr",       "aIDAdr",
    "IDRange",      "aConstIDData",  "ProtectedBytes", "IDCheckFunction",
    "FlashOffset",  "ChipSpecifics", "SpeedSettings"};
constexpr int kColumns = 31;
static_assert(std::size(kHeader) == kColumns);

constexpr std::size_t kMaxCsvBankRanges = 23;
constexpr std::size_t kMaxCsvIdAddresses = 32;
constexpr std::size_t kMaxSpeedText = 199;
constexpr std::size_t kExportSpeedText = 63;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trim(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b]))
        ++b;
    while (e > b && IsBlank(text[e - 1]))
        --e;
    return std::string(text.substr(b, e - b));
}

// One field: up to a `;` outside double quotes, a line end or the end of the text. At a line
// end the field is empty and the cursor stays; a line end that closes a field is left for the
// row's end, so a short row never takes fields from the next one.
std::string NextField(const char*& c) {
    if (*c == '\r' || *c == '\n' || *c == '\0') return "";
    while (IsBlank(*c))
        ++c;
    const char* begin = c;
    bool quoted = false;
    while (*c && *c != '\r' && *c != '\n' && (quoted || *c != ';')) {
        if (*c == '"') quoted = !quoted;
        ++c;
    }
    std::string field(begin, c);
    if (*c == ';') ++c;
    if (!field.empty() && field[0] == '"') {
        field = field.size() >= 2 ? field.substr(1, field.size() - 2) : std::string();
        std::string unquoted;
        for (std::size_t i = 0; i < field.size(); ++i) {
            unquoted += field[i];
            if (field[i] == '"' && i + 1 < field.size() && field[i + 1] == '"') ++i;
        }
        field = std::move(unquoted);
    }
    return Trim(field);
}

// Leading decimal digits with an optional sign; anything else gives 0. Held to [lo, hi].
int64_t Decimal(const std::string& text, int64_t lo, int64_t hi) {
    const char* c = text.c_str();
    int64_t sign = 1;
    if (*c == '+' || *c == '-') sign = *c++ == '-' ? -1 : 1;
    int64_t value = 0;
    for (; *c >= '0' && *c <= '9'; ++c)
        value = std::min<int64_t>(value * 10 + (*c - '0'), 1LL << 40);
    return std::clamp(sign * value, lo, hi);
}

uint32_t Hex(std::string_view text, uint32_t lo = 0, uint32_t hi = 0xFFFFFFFF) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    uint32_t value = 0;
    for (int d; i < text.size() && (d = HexDigitValue(text[i])) >= 0; ++i)
        value = value * 16u + static_cast<uint32_t>(d);
    return std::clamp(value, lo, hi);
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    if (text.empty()) return pieces;
    std::size_t from = 0;
    while (true) {
        std::size_t at = text.find(separator, from);
        pieces.push_back(text.substr(from, at == std::string_view::npos ? at : at - from));
        if (at == std::string_view::npos) break;
        from = at + 1;
    }
    return pieces;
}

template <typename T>
std::vector<T> HexList(const std::string& field, std::size_t limit, uint32_t hi) {
    std::vector<T> list;
    for (auto piece : Split(field, ',')) {
        if (list.size() >= limit) break;
        list.push_back(static_cast<T>(Hex(piece, 0, hi)));
    }
    return list;
}

uint8_t Support(const std::string& field) {
    uint8_t flags = 0;
    for (char c : field) {
        if (c == 'R' || c == 'r') flags |= 1;
        if (c == 'W' || c == 'w') flags |= 2;
    }
    return flags;
}

MemoryArea FlashArea(const std::string& field) {
    MemoryArea area;
    area.order = kFlashOrder;
    area.name = "FLASH";
    auto pieces = Split(field, ';');
    if (!pieces.empty()) pieces.pop_back(); // the text after the last `;`
    for (auto piece : pieces) {
        if (Trim(piece).empty()) continue; // a blank piece is no bank
        if (static_cast<std::size_t>(area.rangeCount) >= kMaxCsvBankRanges) break;
        std::size_t comma = piece.find(',');
        BankRange range;
        range.start = Hex(piece.substr(0, comma));
        range.size =
            comma == std::string_view::npos ? 1 : Hex(piece.substr(comma + 1), 1, kMaxBankSize);
        area.ranges[static_cast<std::size_t>(area.rangeCount++)] = range;
    }
    return area;
}

// Text up to the next comma (trimmed), leaving the cursor on the comma; false without one.
bool NameUpToComma(const char*& c, std::string& name) {
    const char* comma = c;
    while (*comma && *comma != ',')
        ++comma;
    if (*comma != ',') return false;
    name = Trim(std::string_view(c, static_cast<std::size_t>(comma - c)));
    c = comma;
    return true;
}

bool CommaFollows(const char* c) {
    SkipBlanks(c);
    return *c == ',';
}

void EndOfItem(const char*& c) {
    SkipBlanks(c);
    if (*c == ';') ++c;
    SkipBlanks(c);
}

// A malformed area (a missing comma or number) ends the column; the areas before it stay.
void ReadProgAreas(const std::string& field, std::vector<MemoryArea>& areas) {
    const char* c = field.c_str();
    while (*c) {
        MemoryArea area;
        if (!NameUpToComma(c, area.name)) return;
        ScanError e;
        int32_t order = 0, kind = 0;
        ExpectChar(e, c, ',');
        ReadDecimal(e, c, order, 0, 15);
        SkipBlanks(c);
        ExpectChar(e, c, ',');
        ReadDecimal(e, c, kind, 0, 15);
        while (!e.Failed() && CommaFollows(c)) {
            BankRange range;
            SkipBlanks(c);
            ExpectChar(e, c, ',');
            ReadHex(e, c, range.start, 0, 0xFFFFFFFF);
            SkipBlanks(c);
            ExpectChar(e, c, ',');
            ReadHex(e, c, range.size, 1, kMaxBankSize);
            if (e.Failed() || static_cast<std::size_t>(area.rangeCount) >= kMaxAreaRanges) return;
            area.ranges[static_cast<std::size_t>(area.rangeCount++)] = range;
        }
        if (e.Failed() || order < 0 || kind < 0) return;
        area.order = static_cast<uint8_t>(order);
        area.kind = static_cast<uint8_t>(kind);
        InsertProgArea(areas, std::move(area));
        EndOfItem(c);
    }
}

void ReadProtectedBlocks(const std::string& field, std::vector<ProtectedBlock>& blocks) {
    const char* c = field.c_str();
    while (*c) {
        ProtectedBlock block;
        if (!NameUpToComma(c, block.name)) return;
        ScanError e; // not shown: a malformed block ends the column
        ExpectChar(e, c, ',');
        ReadHex(e, c, block.addresses[0], 0, 0xFFFFFFFF);
        block.count = 1;
        while (!e.Failed() && CommaFollows(c)) {
            if (block.count >= static_cast<int32_t>(kMaxProtectedAddresses)) {
                e.Set("Too many bytes in protected block");
                break;
            }
            SkipBlanks(c);
            ExpectChar(e, c, ',');
            ReadHex(e, c, block.addresses[static_cast<std::size_t>(block.count++)], 0, 0xFFFFFFFF);
        }
        if (e.Failed()) return;
        blocks.push_back(std::move(block));
        EndOfItem(c);
    }
}

std::optional<DeviceRecord> ReadRow(const char*& c) {
    std::string f[kColumns];
    for (auto& field : f)
        field = NextField(c);
    DeviceRecord r;
    r.manufacturer = f[0];
    r.name = f[1];
    r.group = f[2];
    r.package = f[3];
    r.ram = static_cast<uint32_t>(Decimal(f[4], 0, 0xFFFFFFFF));
    r.device = f[5];
    // A row without a device name (a line of blanks or separators) describes no device.
    if (r.device.empty()) return std::nullopt;
    r.areas.push_back(FlashArea(f[6]));
    ReadProgAreas(f[7], r.areas);
    r.parallelSupport = Support(f[8]);
    r.serialSupport = Support(f[9]);
    r.bootSelect = static_cast<uint8_t>(Decimal(f[10], 0, 255));
    r.bootWarning = static_cast<uint8_t>(Decimal(f[11], 0, 255));
    r.sifType = SIFTypeFromCsv(f[12]);
    r.algoS = AlgoSFromCsv(f[13]);
    r.algoP = AlgoPFromCsv(f[14]);
    {
        const char* v = f[15].c_str();
        std::size_t dash = f[15].find('-', v[0] == '-' || v[0] == '+' ? 1 : 0);
        int64_t low = Decimal(f[15], 0, 25500);
        int64_t high =
            dash == std::string::npos ? low : Decimal(Trim(f[15].substr(dash + 1)), 0, 25500);
        r.vMin = static_cast<uint8_t>(low / 100);
        r.vMax = static_cast<uint8_t>(high / 100);
    }
    r.vpp = static_cast<uint8_t>(Decimal(f[16], 0, 25500) / 100);
    r.displayBLVersion = static_cast<uint8_t>(Decimal(f[17], 0, 255));
    r.enableClearChip = static_cast<uint8_t>(Decimal(f[18], 0, 255));
    r.enableClearAll = static_cast<uint8_t>(Decimal(f[19], 0, 255));
    r.idLenMin = static_cast<uint8_t>(Decimal(f[20], 0, 15));
    r.idLenMax = static_cast<uint8_t>(Decimal(f[21], 0, 15));
    r.idLenAdr = Hex(f[22]);
    r.idAddresses = HexList<uint32_t>(f[23], kMaxCsvIdAddresses, 0xFFFFFFFF);
    // The record keeps IDLenMax addresses; missing ones are 0.
    if (!r.idAddresses.empty()) r.idAddresses.resize(r.idLenMax);
    {
        std::size_t comma = f[24].find(',');
        r.idRangeFirst = Hex(std::string_view(f[24]).substr(0, comma));
        r.idRangeLast =
            comma == std::string::npos ? 0 : Hex(std::string_view(f[24]).substr(comma + 1));
    }
    r.constIdData = HexList<uint8_t>(f[25], kMaxIdBytes, 0xFF);
    ReadProtectedBlocks(f[26], r.protectedBlocks);
    r.idCheck = IdCheckByName(f[27]).value_or(IdCheck::None);
    r.flashOffset = Hex(f[28]);
    r.chipSpecifics = HexList<uint8_t>(f[29], kMaxIdBytes, 0xFF);
    for (auto piece : Split(f[30], ',')) {
        std::size_t b = 0;
        while (b < piece.size() && IsBlank(piece[b]))
            ++b;
        r.speedSettings.emplace_back(piece.substr(b, kMaxSpeedText));
    }
    r.version = 0;
    r.fromDeviceFile = 0;
    return r;
}

std::string HexText(uint32_t value) {
    char text[12];
    std::snprintf(text, sizeof text, "%X", value);
    return text;
}

template <typename List> std::string HexJoined(const List& list, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count && i < list.size(); ++i) {
        if (i) text += ", ";
        text += HexText(list[i]);
    }
    return text;
}

std::string BankColumn(const DeviceRecord& device, const BankRange& additional) {
    std::string text;
    int count = BankCount(device);
    int total = count + (additional.size != 0 ? 1 : 0);
    for (int bank = 0; bank < total && bank < kBankFlags; ++bank) {
        BankRange range = bank < count ? GetBank(device, bank) : additional;
        int order = bank < count ? BankOrder(device, bank) : kFlashOrder;
        if (order != kFlashOrder) continue;
        text += HexText(range.start) + "," + HexText(range.size) + "; ";
    }
    return text;
}

std::string ProgAreaColumn(const DeviceRecord& device) {
    std::string text;
    bool first = true;
    for (const auto& area : device.areas) {
        if (area.order == kFlashOrder) continue;
        if (!first) text += "; ";
        first = false;
        text +=
            area.name + ", " + std::to_string(area.order) + ", " + std::to_string(area.kind) + ", ";
        for (int i = 0; i < area.rangeCount; ++i) {
            if (i) text += ", ";
            const auto& r = area.ranges[static_cast<std::size_t>(i)];
            text += HexText(r.start) + ", " + HexText(r.size);
        }
    }
    return text;
}

std::string SupportText(uint8_t flags) {
    static const char* const kText[] = {"---", "R", "W", "RW"};
    return kText[flags & 3];
}

std::string DeviceRow(const DeviceRecord& d, const BankRange& additional) {
    std::string protectedBytes;
    for (const auto& block : d.protectedBlocks)
        protectedBytes += block.name + ", " +
                          HexJoined(block.addresses, static_cast<std::size_t>(block.count)) + "; ";
    std::string speeds;
    for (std::size_t i = 0; i < d.speedSettings.size(); ++i) {
        if (i) speeds += ", ";
        speeds += d.speedSettings[i].substr(0, kExportSpeedText);
    }
    // An address list shorter than IDLenMax is written as far as it goes.
    const std::string fields[kColumns] = {
        d.manufacturer,
        d.name,
        d.group,
        d.package,
        std::to_string(d.ram),
        d.device,
        BankColumn(d, additional),
        ProgAreaColumn(d),
        SupportText(d.parallelSupport),
        SupportText(d.serialSupport),
        std::to_string(d.bootSelect),
        std::to_string(d.bootWarning),
        SIFTypeName(d.sifType),
        AlgoSName(d.algoS),
        d.parallelSupport ? AlgoPName(d.algoP) : "",
        std::to_string(d.vMin * 100) + " - " + std::to_string(d.vMax * 100),
        std::to_string(d.vpp * 100),
        std::to_string(d.displayBLVersion),
        std::to_string(d.enableClearChip),
        std::to_string(d.enableClearAll),
        std::to_string(d.idLenMin),
        std::to_string(d.idLenMax),
        HexText(d.idLenAdr),
        HexJoined(d.idAddresses, d.idLenMax),
        HexText(d.idRangeFirst) + ", " + HexText(d.idRangeLast),
        HexJoined(d.constIdData, d.constIdData.size()),
        protectedBytes,
        IdCheckName(d.idCheck),
        HexText(d.flashOffset),
        HexJoined(d.chipSpecifics, d.chipSpecifics.size()),
        speeds,
    };
    std::string row;
    for (const auto& field : fields)
        row += "\"" + field + "\";";
    return row + "\r\n";
}

} // namespace

void ReadDeviceCsvText(Ui& ui, DeviceTable& table, const char* text) {
    const char* c = text;
    SkipLine(c); // the header row
    while (*c) {
        if (auto record = ReadRow(c)) AddDevice(ui, table, std::move(*record));
        SkipLine(c);
    }
}

void ReadDeviceCsvFile(Ui& ui, DeviceTable& table, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return;
    ReadDeviceCsvText(ui, table, text.str().c_str());
}

void ReadDeviceCsv(Ui& ui, DeviceTable& table, const std::string& programDirectory) {
    ReadDeviceCsvFile(ui, table, programDirectory + "Device/FlashDevices.csv");
}

std::string BuildDeviceCsv(const DeviceTable& table, const BankRange& additional) {
    std::string text;
    for (int i = 0; i < kColumns; ++i) {
        if (i) text += ";";
        text += std::string("\"") + kHeader[i] + "\"";
    }
    text += "\r\n";
    for (const auto& device : table.records)
        text += DeviceRow(device, additional);
    return text;
}

// A write that fails after the file was created is reported as a failure too.
void ExportDeviceCsv(Ui& ui, const DeviceTable& table, const BankRange& additional,
                     const std::string& path) {
    std::string text = BuildDeviceCsv(table, additional);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    bool ok = static_cast<bool>(out);
    if (ok) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        ok = !out.fail();
    }
    if (ok)
        ui.MessageBox("The CSV file was saved as: \n" + path, "CSV export", MsgButtons::Ok,
                      MsgIcon::Information, MsgAnswer::Ok);
    else
        ui.MessageBox("The CSV file could not be saved !", "CSV export", MsgButtons::Ok,
                      MsgIcon::Error, MsgAnswer::Ok);
}

} // namespace vantrel
