#pragma once
#include <string>

namespace vantrel {

inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 0;

// "Vantrel V2.00x": the program's own version wherever it names itself.
std::string VersionString();
// The build date as "Jan 21 2014" and time as "11:13:00".
std::string BuildDate();
std::string BuildTime();

} // namespace vantrel
