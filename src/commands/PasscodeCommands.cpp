#include "commands/PasscodeCommands.h"

#include "app/App.h"
#include "device/DeviceImage.h"
#include "device/DeviceSelection.h"
#include "device/ImageView.h"

namespace vantrel {

bool PasscodeCommandsEnabled(const App& app) {
    return !app.doc.Empty() && app.selection.UsesPasscode();
}

// A disabled menu item cannot be chosen; a command that arrives anyway does nothing.
void OnEditCopyPasscode(App& app) {
    if (!PasscodeCommandsEnabled(app)) return;
    {
        auto guard = app.doc.LockImage();
        for (auto [address, value] : PasscodeImageWrites(app.selection))
            app.doc.SetByte(address, value);
    }
    app.ui.Repaint();
}

void OnEditSetPasscode(App& app) {
    if (!PasscodeCommandsEnabled(app)) return;
    {
        auto guard = app.doc.LockImage();
        SetPasscodeFromImage(app.selection, ImageView(app.doc.Image()));
    }
    app.ui.Repaint();
}

} // namespace vantrel
