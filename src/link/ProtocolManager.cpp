#include "link/ProtocolManager.h"

namespace vantrel {

void ProtocolManager::QueueJob(uint32_t job) {
    std::lock_guard guard(lock_);
    jobs_.push_back(job);
}

void ProtocolManager::ClearJobs() {
    std::lock_guard guard(lock_);
    jobs_.clear();
}

int ProtocolManager::JobCount() const {
    std::lock_guard guard(lock_);
    return static_cast<int>(jobs_.size());
}

void ProtocolManager::ForceConfig() {
    std::lock_guard guard(lock_);
    forceConfig_ = true;
}

bool ProtocolManager::ForceConfigPending() const {
    std::lock_guard guard(lock_);
    return forceConfig_;
}

void ProtocolManager::EnableSessionCheck() {
    std::lock_guard guard(lock_);
    checkSession_ = true;
}

void ProtocolManager::RequestSetupWrite() {
    std::lock_guard guard(lock_);
    setupWritePending_ = true;
}

void ProtocolManager::MarkImageDirty() {
    SetImageDirty(true);
}

void ProtocolManager::SetImageDirty(bool dirty) {
    std::lock_guard guard(lock_);
    imageDirty_ = dirty;
}

bool ProtocolManager::ImageDirty() const {
    std::lock_guard guard(lock_);
    return imageDirty_;
}

void ProtocolManager::SetPortOpen(bool open) {
    std::lock_guard guard(lock_);
    portOpen_ = open;
}

bool ProtocolManager::PortOpen() const {
    std::lock_guard guard(lock_);
    return portOpen_;
}

ProgrammerStatus ProtocolManager::Status() const {
    std::lock_guard guard(lock_);
    return status_;
}

void ProtocolManager::SetStatus(const ProgrammerStatus& status) {
    std::lock_guard guard(lock_);
    status_ = status;
}

} // namespace vantrel
