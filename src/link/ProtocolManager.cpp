#include "link/ProtocolManager.h"

namespace vantrel {

int PM_JobCount(const ProtocolManager& pm) {
    std::lock_guard guard(pm.lock);
    return static_cast<int>(pm.jobs.size());
}

void PM_ForceConfig(ProtocolManager& pm) {
    std::lock_guard guard(pm.lock);
    pm.forceConfig = true;
}

bool PM_ForceConfigPending(const ProtocolManager& pm) {
    std::lock_guard guard(pm.lock);
    return pm.forceConfig;
}

void PM_EnableSessionCheck(ProtocolManager& pm) {
    std::lock_guard guard(pm.lock);
    pm.checkSession = true;
}

void PM_RequestSetupWrite(ProtocolManager& pm) {
    std::lock_guard guard(pm.lock);
    pm.setupWritePending = true;
}

void PM_SetImageDirty(ProtocolManager& pm) {
    std::lock_guard guard(pm.lock);
    pm.imageDirty = true;
}

bool PM_PortOpen(const ProtocolManager& pm) {
    std::lock_guard guard(pm.lock);
    return pm.portOpen;
}

ProgrammerStatus PM_Status(const ProtocolManager& pm) {
    std::lock_guard guard(pm.lock);
    return pm.status;
}

} // namespace vantrel
