#include "dialogs/RelocationDialog.h"

#include "app/App.h"
#include "dialogs/AddressRangeDialog.h"

namespace vantrel {

bool AcceptRelocationOffset(App& app, const std::string& text, int32_t& offset) {
    auto value = ReadDialogHex(text);
    if (!value) {
        APP_ReportError(app, 211, "Not a hex value");
        return false;
    }
    offset = static_cast<int32_t>(*value);
    return true;
}

bool RunRelocationDialog(App& app, int32_t& offset) {
    std::string text;
    int32_t chosen = 0;
    bool ok = app.ui.RelocationDialog(
        text, [&](const std::string& t) { return AcceptRelocationOffset(app, t, chosen); });
    if (ok) offset = chosen;
    return ok;
}

} // namespace vantrel
