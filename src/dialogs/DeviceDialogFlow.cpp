#include "dialogs/DeviceDialogFlow.h"

#include "app/App.h"
#include "device/DeviceChecks.h"

namespace vantrel {

DevicePropertiesSession::DevicePropertiesSession(App& app, uint32_t& sortKey,
                                                 std::function<void()> committed)
    : app_(app), sortKey_(sortKey), committed_(std::move(committed)),
      model_(app.devices, PM_Status(app.pm), app.selection) {}

void DevicePropertiesSession::SelectDevice(
    const std::function<std::optional<int>(SelectDeviceModel&)>& show) {
    SelectDeviceModel list(app_.devices, PM_Status(app_.pm), sortKey_, model_.Copy().device);
    if (std::optional<int> chosen = show(list)) model_.DeviceChosen(*chosen);
}

DeviceDialogClose DevicePropertiesSession::Ok() {
    model_.Commit(app_.selection);
    app_.ui.Repaint();
    PM_SetImageDirty(app_.pm);
    if (committed_) committed_();
    return CheckSupported();
}

DeviceDialogClose DevicePropertiesSession::Cancel() {
    return CheckSupported();
}

DeviceDialogClose DevicePropertiesSession::CheckSupported() {
    const DeviceSelection& selection = app_.selection;
    if (SupportedByProgrammer(selection, PM_Status(app_.pm), selection.selected))
        return DeviceDialogClose::Close;
    MsgAnswer answer = app_.ui.MessageBox(kUnsupportedDeviceQuestion, "VANTREL", MsgButtons::YesNo,
                                          MsgIcon::Question, MsgAnswer::Yes);
    if (answer == MsgAnswer::Yes) return DeviceDialogClose::Stay;
    app_.ui.PostQuit(0);
    return DeviceDialogClose::Quit;
}

void OpenDeviceProperties(App& app, DeviceDialogState& state,
                          const std::function<void()>& committed,
                          const std::function<void(DevicePropertiesSession&)>& show) {
    if (state.showing) return;
    if (DeviceCount(app.devices) == 0) {
        APP_ReportError(app, 232);
        return;
    }
    DevicePropertiesSession session(app, state.sortKey, committed);
    state.showing = true;
    show(session);
    state.showing = false;
    app.doc.MarkCrcStale();
}

bool DeviceDialogEnabled(const App& app) {
    const ProgrammerStatus status = PM_Status(app.pm);
    return status.state == kStateReady && app.selection.SelectedDevice() != nullptr &&
           (status.hardwareVersion < 500 || status.hardwareVariant < 5);
}

} // namespace vantrel
