#pragma once
// The protocol manager's state that the link thread shares with everyone else: the job queue,
// the link flags and the programmer's status. The class owns its lock (a plain, non-recursive
// mutex, private): every member takes it only while a value is copied or updated, never across
// a sleep, a wait or I/O, and nothing is reachable without it. In the lock order (image, then
// link, then log) it is the second: a caller may hold the image lock when it marks the image
// dirty, but nobody takes the image lock while holding this one.
// Until a serial link runs, nothing answers: the state stays 200.
#include <cstdint>
#include <deque>
#include <mutex>

#include "base/ProgrammerStatus.h"

namespace vantrel {

class ProtocolManager {
  public:
    // Jobs for the link thread, run in the order queued.
    void QueueJob(uint32_t job);
    void ClearJobs();
    int JobCount() const;

    // Asks for a fresh configuration frame; the link clears the request on the next status
    // reply.
    void ForceConfig();
    bool ForceConfigPending() const;
    void EnableSessionCheck();
    void RequestSetupWrite();
    // The programmer's copy of the image is no longer the document's.
    void MarkImageDirty();
    void SetImageDirty(bool dirty);
    bool ImageDirty() const;
    // The serial link holds an open port, so a status reply can come.
    void SetPortOpen(bool open);
    bool PortOpen() const;

    // A copy of the programmer's status, and its replacement by the link.
    ProgrammerStatus Status() const;
    void SetStatus(const ProgrammerStatus& status);

  private:
    mutable std::mutex lock_;
    std::deque<uint32_t> jobs_;
    ProgrammerStatus status_;
    bool forceConfig_ = false;
    bool checkSession_ = true;
    bool setupWritePending_ = false;
    bool imageDirty_ = true;
    bool portOpen_ = false; // nothing sets it until the serial link runs
};

// The operations under the names the program has always used.
inline int PM_JobCount(const ProtocolManager& pm) {
    return pm.JobCount();
}
inline void PM_ForceConfig(ProtocolManager& pm) {
    pm.ForceConfig();
}
inline bool PM_ForceConfigPending(const ProtocolManager& pm) {
    return pm.ForceConfigPending();
}
inline void PM_EnableSessionCheck(ProtocolManager& pm) {
    pm.EnableSessionCheck();
}
inline void PM_RequestSetupWrite(ProtocolManager& pm) {
    pm.RequestSetupWrite();
}
inline bool PM_PortOpen(const ProtocolManager& pm) {
    return pm.PortOpen();
}
inline ProgrammerStatus PM_Status(const ProtocolManager& pm) {
    return pm.Status();
}

} // namespace vantrel
