#pragma once
// How the main window opens the device dialogs and what their closing does, without a
// toolkit. The toolkit shows a dialog over the session and asks it what OK, Cancel and
// "Select Device" lead to.
//
// OK commits the working copy (the programmer then needs the image again, and the Target menu
// follows the device); OK and Cancel then check that the programmer supports the selected
// device, and if it does not the user either returns to the dialog or ends the program.
#include <cstdint>
#include <functional>
#include <optional>

#include "dialogs/DevicePropertiesModel.h"
#include "dialogs/SelectDeviceModel.h"

namespace vantrel {

struct App;

enum class DeviceDialogClose {
    Close, // the dialog closes
    Stay,  // back to the dialog, focus on OK
    Quit,  // the program ends; the dialog closes
};

inline constexpr const char* kUnsupportedDeviceQuestion =
    "Selected Target CPU not supported !\r\nPlease select a valid device and press OK.\r\n"
    "Otherwise application will be aborted.\r\n\r\nTry an other device selection ?";

class DevicePropertiesSession {
  public:
    // `sortKey`: the device list's sort key, kept by the caller between openings.
    // `committed`: what else follows an OK (the Target menu, which lives above this layer).
    DevicePropertiesSession(App& app, uint32_t& sortKey, std::function<void()> committed);

    DevicePropertiesModel& Model() { return model_; }
    const DevicePropertiesModel& Model() const { return model_; }

    // "Select Device": `show` runs the selection dialog over the model it is given and returns
    // the device chosen with OK, or nothing on Cancel.
    void SelectDevice(const std::function<std::optional<int>(SelectDeviceModel&)>& show);
    DeviceDialogClose Ok();
    DeviceDialogClose Cancel();

  private:
    DeviceDialogClose CheckSupported();

    App& app_;
    uint32_t& sortKey_;
    std::function<void()> committed_;
    DevicePropertiesModel model_;
};

// "&Device..." is offered while the programmer is ready, a device is selected and the
// programmer is not a model that keeps its own device choice (hardware 5.00 and above with a
// variant of 5 or more).
bool DeviceDialogEnabled(const App& app);

// What the device dialogs keep while the program runs.
struct DeviceDialogState {
    uint32_t sortKey = 0; // of the device list
    bool showing = false; // the device properties dialog is open
};

// Command 32824 and the main window's errors 215, 217 and 227: error 232 when the database
// holds no device, else `show` runs the dialog over a session until it closes. The image
// checksum is stale afterwards (the device's areas may have changed). While the dialog is
// open a second one is not opened (a device error reported meanwhile would otherwise stack
// another dialog on it).
void OpenDeviceProperties(App& app, DeviceDialogState& state,
                          const std::function<void()>& committed,
                          const std::function<void(DevicePropertiesSession&)>& show);

} // namespace vantrel
