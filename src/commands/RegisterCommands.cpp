#include "commands/RegisterCommands.h"

#include "app/App.h"
#include "commands/DeviceCommands.h"
#include "commands/DocumentCommands.h"

namespace vantrel {

void RegisterCommands(App& app) {
    RegisterDocumentCommands(app);
    // Relocate: the menu asks for the offset, batch mode reads it from the command line.
    app.commands.Set(cmd::kRelocate, [&app](ParamReader* param) {
        if (param)
            RelocateFromCommandLine(app, *param);
        else
            OnEditRelocate(app);
    });
    // Options of the command line that change the device selection. Without a parameter
    // (from a menu) they do nothing: their menu items open dialogs.
    auto batchOnly = [&app](int command, void (*run)(App&, ParamReader&)) {
        app.commands.Set(command, [&app, run](ParamReader* param) {
            if (param) run(app, *param);
        });
    };
    batchOnly(cmd::kPassword, DEVICE_BatchPassword);
    batchOnly(cmd::kSetArea, DEVICE_BatchSetArea);
    batchOnly(cmd::kSelBanks, DEVICE_BatchSelBanks);
    batchOnly(cmd::kSelMultiple, DEVICE_BatchSelMultiple);
    batchOnly(cmd::kSetFill, DEVICE_BatchSetFill);
    batchOnly(cmd::kSetIfASync, DEVICE_BatchSetIfASync);
}

} // namespace vantrel
