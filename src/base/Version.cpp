#include "base/Version.h"

#include "base/UtilSnprintf.h"

#ifndef VANTREL_BUILD_DATE
#define VANTREL_BUILD_DATE __DATE__
#endif
#ifndef VANTREL_BUILD_TIME
#define VANTREL_BUILD_TIME __TIME__
#endif

namespace vantrel {

std::string VersionString() {
    return UTIL_format("Vantrel V%d.%.2d", {kVersionMajor, kVersionMinor}) + "x";
}

std::string BuildDate() {
    return VANTREL_BUILD_DATE;
}
std::string BuildTime() {
    return VANTREL_BUILD_TIME;
}

} // namespace vantrel
