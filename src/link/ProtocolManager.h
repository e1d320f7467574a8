#pragma once
// The protocol manager's state as the main thread sees it: the job queue, the link flags and
// the programmer's status. Everything here is guarded by one lock, held only while a value is
// copied or updated. Until a serial link runs, nothing answers: the state stays 200.
#include <cstdint>
#include <deque>
#include <mutex>

#include "base/ProgrammerStatus.h"

namespace vantrel {

struct ProtocolManager {
    mutable std::mutex lock;
    std::deque<uint32_t> jobs;
    ProgrammerStatus status;
    bool forceConfig = false;
    bool checkSession = true;
    bool setupWritePending = false;
    bool imageDirty = true;
    // The serial link holds an open port, so a status reply can come. Nothing sets it until
    // the serial link runs.
    bool portOpen = false;
};

int PM_JobCount(const ProtocolManager& pm);
// Asks for a fresh configuration frame; the link clears the request on the next status reply.
void PM_ForceConfig(ProtocolManager& pm);
bool PM_ForceConfigPending(const ProtocolManager& pm);
void PM_EnableSessionCheck(ProtocolManager& pm);
void PM_RequestSetupWrite(ProtocolManager& pm);
// The next target operation sends the image again.
void PM_SetImageDirty(ProtocolManager& pm);
// True when the serial link has a port open: only then can the programmer answer at all.
bool PM_PortOpen(const ProtocolManager& pm);
// A copy of the programmer's status, taken under the lock.
ProgrammerStatus PM_Status(const ProtocolManager& pm);

} // namespace vantrel
