#include "commands/FirmwareCommands.h"

#include "app/App.h"
#include "base/CommandIds.h"
#include "ops/Firmware.h"

namespace vantrel {

void RegisterFirmwareCommands(App& app) {
    app.commands.SetPlain(cmd::kDownloadFirmware, [&app] {
        ++app.operationsRunning;
        FW_Download(app);
        --app.operationsRunning;
    });
}

} // namespace vantrel
