#pragma once
// The protocol manager's state that the link thread shares with everyone else: the job queue,
// the busy flag, the link flags, the session, the setup block, the message buffer, the
// transfer figures, the programmer's status, and what the link needs to know of the selected
// target. The class owns its lock (a plain, non-recursive mutex, private): every member takes
// it only while a value is copied or updated, never across a sleep, a wait or I/O, and nothing
// is reachable without it. In the lock order (image, then link, then log) it is the second: a
// caller may hold the image lock when it marks the image dirty, but nobody takes the image
// lock while holding this one.
// Until a serial link runs, nothing answers: the state stays 200.
#include <array>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/ProgrammerStatus.h"
#include "link/LinkTarget.h"

namespace vantrel {

inline constexpr std::size_t kMaxJobs = 64;
inline constexpr std::size_t kSetupBlockSize = 128;
inline constexpr std::size_t kSetupWriteSize = 64;

using SetupBlock = std::array<uint8_t, kSetupBlockSize>;

// One queued job; `serial` tells a job from a later one with the same code, so that the link
// never removes a job that was queued after a cancel.
struct QueuedJob {
    uint32_t code = 0;
    uint64_t serial = 0;
};

// Everything shared, as the link thread reads and changes it in one step (ProtocolManager::
// Update). The link thread alone changes the session and the transfer figures.
struct LinkShared {
    std::deque<QueuedJob> jobs;
    uint64_t nextJobSerial = 1;
    bool busy = false;
    ProgrammerStatus status;
    bool sessionValid = false;
    uint32_t sessionId = 0;
    bool setupBlockValid = false;
    SetupBlock setupBlock{};
    bool imageDirty = true;
    bool checkSession = true;
    bool setupWritePending = false;
    bool forceConfig = false;
    bool portOpen = false;
    std::string message; // the last protocol error, at most 199 characters; empty = none
    int percentage = 0;  // of the running transfer
    uint32_t transferTotal = 0;
    LinkTarget target;
    std::vector<uint8_t> firmware; // the image the firmware download sends
};

class ProtocolManager {
  public:
    // Jobs for the link thread, run in the order queued; a job queued while 64 wait is
    // dropped.
    void QueueJob(uint32_t job);
    // Empties the queue and clears busy (a cancel).
    void ClearJobs();
    int JobCount() const;
    int CurrentJob() const; // the head's code, or -1

    // Asks for a fresh configuration frame; the link clears the request on the next status
    // reply.
    void ForceConfig();
    bool ForceConfigPending() const;
    void EnableSessionCheck();
    void DisableSessionCheck();
    void RequestSetupWrite();
    // The programmer's copy of the image is no longer the document's.
    void MarkImageDirty();
    void SetImageDirty(bool dirty);
    bool ImageDirty() const;
    // True when the programmer must get the image again (it changed, or there is no session).
    bool NeedsDownload() const;
    // The serial link holds an open port, so a status reply can come.
    void SetPortOpen(bool open);
    bool PortOpen() const;

    // The message buffer.
    std::optional<std::string> Message() const;
    void ClearMessage();
    int Percentage() const;
    uint32_t TransferTotal() const;

    // A copy of the programmer's status, and its replacement by the link.
    ProgrammerStatus Status() const;
    void SetStatus(const ProgrammerStatus& status);
    SetupBlock Setup() const;
    bool SetupBlockValid() const;

    // What the link needs of the selected target, published by the main thread.
    void SetTarget(LinkTarget target);
    // The firmware image for the next firmware download.
    void SetFirmware(std::vector<uint8_t> image);

    // Runs `f(LinkShared&)` under the lock and returns its result. `f` only reads and writes
    // the state: no I/O, no other lock, no callback.
    template <class F> auto Update(F&& f) {
        std::lock_guard guard(lock_);
        return f(shared_);
    }
    template <class F> auto Read(F&& f) const {
        std::lock_guard guard(lock_);
        return f(static_cast<const LinkShared&>(shared_));
    }

  private:
    mutable std::mutex lock_;
    LinkShared shared_;
};

// Texts longer than the message buffer are cut to it.
void SetLinkMessage(LinkShared& shared, const std::string& text);

// The operations under the names the program has always used.
inline void PM_QueueJob(ProtocolManager& pm, uint32_t job) {
    pm.QueueJob(job);
}
inline void PM_ClearJobs(ProtocolManager& pm) {
    pm.ClearJobs();
}
inline int PM_JobCount(const ProtocolManager& pm) {
    return pm.JobCount();
}
inline int PM_CurrentJob(const ProtocolManager& pm) {
    return pm.CurrentJob();
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
inline void PM_SetImageDirty(ProtocolManager& pm) {
    pm.SetImageDirty(true);
}
inline bool PM_NeedsDownload(const ProtocolManager& pm) {
    return pm.NeedsDownload();
}
inline std::optional<std::string> PM_GetMessage(const ProtocolManager& pm) {
    return pm.Message();
}
inline void PM_ClearMessage(ProtocolManager& pm) {
    pm.ClearMessage();
}
inline int PM_Percentage(const ProtocolManager& pm) {
    return pm.Percentage();
}
inline uint32_t PM_TransferTotal(const ProtocolManager& pm) {
    return pm.TransferTotal();
}
inline bool PM_PortOpen(const ProtocolManager& pm) {
    return pm.PortOpen();
}
inline ProgrammerStatus PM_Status(const ProtocolManager& pm) {
    return pm.Status();
}

} // namespace vantrel
