#include "device/DeviceCodes.h"

#include <strings.h>

#include <span>

namespace vantrel {
namespace {

struct CodeName {
    uint8_t code;
    const char* name;
};

constexpr CodeName kAlgoS[] = {
    {128, "S20"},   {129, "S38"},   {130, "S60"},  {131, "ST9"},   {132, "S79"},   {133, "S22"},
    {135, "S507"},  {136, "ST7"},   {137, "ST7X"}, {138, "SM32C"}, {139, "T8"},    {140, "T91"},
    {141, "S7542"}, {142, "S3803"}, {143, "R8C"},  {144, "S60A"},  {145, "SR32C"}, {146, "SDAQZ"},
};
constexpr CodeName kAlgoP[] = {{0, "P60"}, {1, "P20"}, {134, "P62N"}};
constexpr CodeName kSifType[] = {
    {0, "S60"}, {1, "SDA"},   {2, "ST9"},    {3, "S20"},  {4, "SDA79"}, {5, "S22"},    {6, "ST7"},
    {7, "T8"},  {9, "S7542"}, {10, "S3803"}, {11, "R8C"}, {12, "S60A"}, {13, "SDAQZ"},
};
constexpr const char* kWrongValue = "Wrong value";

const char* NameOf(std::span<const CodeName> table, uint8_t code) {
    for (const auto& row : table)
        if (row.code == code) return row.name;
    return kWrongValue;
}

std::optional<uint8_t> CodeOf(std::span<const CodeName> table, const std::string& name) {
    for (const auto& row : table)
        if (name == row.name) return row.code;
    return std::nullopt;
}

uint8_t CodeIgnoringCase(std::span<const CodeName> table, const std::string& name) {
    for (const auto& row : table)
        if (strcasecmp(name.c_str(), row.name) == 0) return row.code;
    return 0;
}

constexpr const char* kIdCheckNames[] = {"CheckM7906", "CheckST7X", "CheckST7", "CheckTMP91",
                                         "CheckTLCS870"};

} // namespace

const char* AlgoSName(uint8_t code) {
    return NameOf(kAlgoS, code);
}
const char* AlgoPName(uint8_t code) {
    return NameOf(kAlgoP, code);
}
const char* SIFTypeName(uint8_t code) {
    return NameOf(kSifType, code);
}

std::optional<uint8_t> AlgoSByName(const std::string& name) {
    return CodeOf(kAlgoS, name);
}
std::optional<uint8_t> AlgoPByName(const std::string& name) {
    return CodeOf(kAlgoP, name);
}
std::optional<uint8_t> SIFTypeByName(const std::string& name) {
    return CodeOf(kSifType, name);
}
uint8_t AlgoSFromCsv(const std::string& name) {
    return CodeIgnoringCase(kAlgoS, name);
}
uint8_t AlgoPFromCsv(const std::string& name) {
    return CodeIgnoringCase(kAlgoP, name);
}
uint8_t SIFTypeFromCsv(const std::string& name) {
    return CodeIgnoringCase(kSifType, name);
}

const char* IdCheckName(IdCheck check) {
    auto i = static_cast<int>(check);
    return i >= 1 && i <= 5 ? kIdCheckNames[i - 1] : "";
}

std::optional<IdCheck> IdCheckByName(const std::string& name) {
    for (int i = 0; i < 5; ++i)
        if (name == kIdCheckNames[i]) return static_cast<IdCheck>(i + 1);
    return std::nullopt;
}

const char* InterfaceName(int index) {
    static const char* const kNames[] = {"Parallel (In Socket)", "Serial (In Target)",
                                         "Serial (Asynchronous)", ""};
    return index >= 0 && index < 4 ? kNames[index] : "???";
}

const char* BaudRateName(int index) {
    static const char* const kNames[] = {"500000 Baud", "250000 Baud", "125000 Baud", "55555 Baud",
                                         "38400 Baud",  "19200 Baud",  "9600 Baud"};
    return index >= 0 && index < kBaudRateCount ? kNames[index] : "";
}

} // namespace vantrel
