#pragma once
// The names of the device codes: serial and parallel algorithms, serial interfaces, the ID
// check functions, the interfaces of the selection and the baud rates of fast programmers.
// Device description files look names up exactly; the CSV list ignores letter case and turns
// unknown names into 0. An unknown code is named "Wrong value".
#include <cstdint>
#include <optional>
#include <string>

#include "device/DeviceRecord.h"

namespace vantrel {

inline constexpr uint8_t kAlgoS60 = 130, kAlgoT8 = 139, kAlgoT91 = 140, kAlgoR8C = 143,
                         kAlgoS60A = 144;
inline constexpr uint8_t kSifS60 = 0, kSifR8C = 11, kSifS60A = 12;

const char* AlgoSName(uint8_t code);
const char* AlgoPName(uint8_t code);
const char* SIFTypeName(uint8_t code);

// Exact, case-sensitive lookups (device description files).
std::optional<uint8_t> AlgoSByName(const std::string& name);
std::optional<uint8_t> AlgoPByName(const std::string& name);
std::optional<uint8_t> SIFTypeByName(const std::string& name);
// Letter case ignored, unknown gives 0 (CSV list).
uint8_t AlgoSFromCsv(const std::string& name);
uint8_t AlgoPFromCsv(const std::string& name);
uint8_t SIFTypeFromCsv(const std::string& name);

// "" for none.
const char* IdCheckName(IdCheck check);
// Exact; nullopt for an unknown name.
std::optional<IdCheck> IdCheckByName(const std::string& name);

// 0 "Parallel (In Socket)", 1 "Serial (In Target)", 2 "Serial (Asynchronous)", 3 "", then "???".
const char* InterfaceName(int index);

inline constexpr int kBaudRateCount = 7;
// "500000 Baud" .. "9600 Baud" for 0..6; "" otherwise.
const char* BaudRateName(int index);

} // namespace vantrel
