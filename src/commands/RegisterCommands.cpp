#include "commands/RegisterCommands.h"

#include "commands/DeviceCommands.h"
#include "commands/DocumentCommands.h"

namespace vantrel {

void RegisterCommands(App& app) {
    RegisterDocumentCommands(app);
    RegisterDeviceCommands(app);
}

} // namespace vantrel
