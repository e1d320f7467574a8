#include "dialogs/RelocationDialog.h"

#include "base/Reporter.h"
#include "dialogs/AddressRangeDialog.h"
#include "platform/Ui.h"

namespace vantrel {

bool AcceptRelocationOffset(Reporter& reporter, const std::string& text, int32_t& offset) {
    auto value = ReadDialogHex(text);
    if (!value) {
        reporter.Report(211, "Not a hex value");
        return false;
    }
    offset = static_cast<int32_t>(*value);
    return true;
}

bool RunRelocationDialog(Ui& ui, Reporter& reporter, int32_t& offset) {
    std::string text;
    int32_t chosen = 0;
    bool ok = ui.RelocationDialog(
        text, [&](const std::string& t) { return AcceptRelocationOffset(reporter, t, chosen); });
    if (ok) offset = chosen;
    return ok;
}

} // namespace vantrel
