#include "ui/DeviceMenu.h"

#include "app/App.h"

namespace vantrel {

void UpdateDeviceMenu(App& app) {
    if (app.ui.TargetMenuItemCount() < 1) return;
    const DeviceRecord* device = app.selection.SelectedDevice();
    auto& menu = app.deviceMenu;
    bool wantClearAll = device && device->enableClearAll != 0;
    bool wantClearChip = device && device->enableClearChip != 0;
    if (wantClearAll && !menu.clearAllInMenu) {
        ProgrammerStatus status = PM_Status(app.pm);
        bool readout = (status.hardwareVersion == 421 || status.hardwareVersion >= 500) &&
                       (status.hardwareVariant == 0 || status.hardwareVariant == 4);
        app.ui.InsertTargetMenuItem(cmd::kClearAll,
                                    readout ? "Clear Readout protection" : "Clear All",
                                    "Program all zeroes, then clear chip", cmd::kClear);
        menu.clearAllInMenu = true;
    } else if (!wantClearAll && menu.clearAllInMenu) {
        app.ui.RemoveTargetMenuItem(cmd::kClearAll);
        menu.clearAllInMenu = false;
    }
    if (wantClearChip && !menu.clearChipInMenu) {
        app.ui.InsertTargetMenuItem(cmd::kClearChip, "Clear Chip",
                                    "Clear entire chip, regardless of selected range", cmd::kClear);
        menu.clearChipInMenu = true;
    } else if (!wantClearChip && menu.clearChipInMenu) {
        app.ui.RemoveTargetMenuItem(cmd::kClearChip);
        menu.clearChipInMenu = false;
    }
}

} // namespace vantrel
