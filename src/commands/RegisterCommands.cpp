#include "commands/RegisterCommands.h"

#include "commands/DeviceCommands.h"
#include "commands/DocumentCommands.h"
#include "commands/FirmwareCommands.h"
#include "commands/OperationCommands.h"

namespace vantrel {

void RegisterCommands(App& app) {
    RegisterDocumentCommands(app);
    RegisterDeviceCommands(app);
    RegisterOperationCommands(app);
    RegisterFirmwareCommands(app);
}

} // namespace vantrel
