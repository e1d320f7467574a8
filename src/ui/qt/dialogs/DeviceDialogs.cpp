#include "ui/qt/dialogs/DeviceDialogs.h"

#include <memory>

#include "app/App.h"
#include "base/CommandIds.h"
#include "dialogs/DeviceDialogFlow.h"
#include "ui/DeviceMenu.h"
#include "ui/MainWindow.h"
#include "ui/qt/dialogs/DevicePropertiesDialog.h"

namespace vantrel {

void RegisterDeviceDialogs(App& app, QWidget* parent) {
    auto state = std::make_shared<DeviceDialogState>();
    auto open = [&app, parent, state] {
        OpenDeviceProperties(
            app, *state, [&app] { UpdateDeviceMenu(app); },
            [&app, parent](DevicePropertiesSession& session) {
                DevicePropertiesDialog dialog(session, app.ui, parent);
                dialog.exec();
            });
    };
    app.commands.SetPlain(cmd::kDevice, open);
    if (auto* window = dynamic_cast<MainWindow*>(app.mainWindow.get()))
        window->openDeviceDialog = open;
}

} // namespace vantrel
