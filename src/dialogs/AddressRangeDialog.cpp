#include "dialogs/AddressRangeDialog.h"

#include "base/Hex.h"
#include "base/Reporter.h"
#include "base/UtilSnprintf.h"
#include "platform/Ui.h"

namespace vantrel {

std::optional<uint32_t> ReadDialogHex(const std::string& text) {
    std::size_t i = 0;
    bool negative = !text.empty() && text[0] == '-';
    if (negative) i = 1;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        int digit = HexDigitValue(text[i]);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFF) return std::nullopt;
    }
    auto result = static_cast<uint32_t>(value);
    return negative ? 0u - result : result;
}

bool AcceptAddressRange(Reporter& reporter, const std::string& startText,
                        const std::string& endText, AddressRange& range) {
    auto start = ReadDialogHex(startText);
    auto end = ReadDialogHex(endText);
    if (!start || !end) {
        reporter.Report(211, "Not a hex value");
        return false;
    }
    if (*start > *end) {
        reporter.Report(211, "Start address has to be <= End address !");
        return false;
    }
    if (*end - *start > kMaxRangeSpan) {
        reporter.Report(211, "This file is too big !!! ");
        return false;
    }
    range = {*start, *end};
    return true;
}

bool RunAddressRangeDialog(Ui& ui, Reporter& reporter, AddressRange& range) {
    std::string start = UTIL_format("%X", {range.first});
    std::string end = UTIL_format("%X", {range.last});
    AddressRange chosen = range;
    bool ok = ui.AddressRangeDialog(start, end, [&](const std::string& s, const std::string& e) {
        return AcceptAddressRange(reporter, s, e, chosen);
    });
    if (ok) range = chosen;
    return ok;
}

} // namespace vantrel
