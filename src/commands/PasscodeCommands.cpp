#include "commands/PasscodeCommands.h"

#include "app/App.h"
#include "device/DeviceImage.h"
#include "device/DeviceSelection.h"
#include "device/ImageView.h"

namespace vantrel {

bool PasscodeCommandsEnabled(const App& app) {
    bool loaded = !app.doc.Lock()->Empty(); // the lock ends here
    return loaded && app.selection.UsesPasscode();
}

// A disabled menu item cannot be chosen; a command that arrives anyway does nothing.
void OnEditCopyPasscode(App& app) {
    if (!PasscodeCommandsEnabled(app)) return;
    for (auto [address, value] : PasscodeImageWrites(app.selection))
        app.doc.SetByte(address, value); // each takes the image lock
    app.ui.Repaint();
}

void OnEditSetPasscode(App& app) {
    if (!PasscodeCommandsEnabled(app)) return;
    {
        LockedImage image = app.doc.Lock();
        SetPasscodeFromImage(app.selection, ImageView(image.Image()));
    }
    app.ui.Repaint();
}

} // namespace vantrel
