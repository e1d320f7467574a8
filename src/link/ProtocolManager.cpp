#include "link/ProtocolManager.h"

#include "base/Reporter.h"

namespace vantrel {

void SetLinkMessage(LinkShared& shared, const std::string& text) {
    shared.message = text.substr(0, kMessageSize - 1);
}

void ProtocolManager::QueueJob(uint32_t job) {
    Update([job](LinkShared& s) {
        if (s.jobs.size() < kMaxJobs) s.jobs.push_back({job, s.nextJobSerial++});
    });
}

void ProtocolManager::ClearJobs() {
    Update([](LinkShared& s) {
        s.jobs.clear();
        s.busy = false;
    });
}

int ProtocolManager::JobCount() const {
    return Read([](const LinkShared& s) { return static_cast<int>(s.jobs.size()); });
}

int ProtocolManager::CurrentJob() const {
    return Read([](const LinkShared& s) {
        return s.jobs.empty() ? -1 : static_cast<int>(s.jobs.front().code);
    });
}

void ProtocolManager::ForceConfig() {
    Update([](LinkShared& s) { s.forceConfig = true; });
}

bool ProtocolManager::ForceConfigPending() const {
    return Read([](const LinkShared& s) { return s.forceConfig; });
}

void ProtocolManager::EnableSessionCheck() {
    Update([](LinkShared& s) { s.checkSession = true; });
}

void ProtocolManager::DisableSessionCheck() {
    Update([](LinkShared& s) { s.checkSession = false; });
}

void ProtocolManager::RequestSetupWrite() {
    Update([](LinkShared& s) { s.setupWritePending = true; });
}

void ProtocolManager::MarkImageDirty() {
    SetImageDirty(true);
}

void ProtocolManager::SetImageDirty(bool dirty) {
    Update([dirty](LinkShared& s) { s.imageDirty = dirty; });
}

bool ProtocolManager::ImageDirty() const {
    return Read([](const LinkShared& s) { return s.imageDirty; });
}

bool ProtocolManager::NeedsDownload() const {
    return Read([](const LinkShared& s) { return s.imageDirty || !s.sessionValid; });
}

void ProtocolManager::SetPortOpen(bool open) {
    Update([open](LinkShared& s) { s.portOpen = open; });
}

bool ProtocolManager::PortOpen() const {
    return Read([](const LinkShared& s) { return s.portOpen; });
}

std::optional<std::string> ProtocolManager::Message() const {
    return Read([](const LinkShared& s) -> std::optional<std::string> {
        if (s.message.empty()) return std::nullopt;
        return s.message;
    });
}

void ProtocolManager::ClearMessage() {
    Update([](LinkShared& s) { s.message.clear(); });
}

int ProtocolManager::Percentage() const {
    return Read([](const LinkShared& s) { return s.percentage; });
}

uint32_t ProtocolManager::TransferTotal() const {
    return Read([](const LinkShared& s) { return s.transferTotal; });
}

ProgrammerStatus ProtocolManager::Status() const {
    return Read([](const LinkShared& s) { return s.status; });
}

void ProtocolManager::SetStatus(const ProgrammerStatus& status) {
    Update([&status](LinkShared& s) { s.status = status; });
}

SetupBlock ProtocolManager::Setup() const {
    return Read([](const LinkShared& s) { return s.setupBlock; });
}

bool ProtocolManager::SetupBlockValid() const {
    return Read([](const LinkShared& s) { return s.setupBlockValid; });
}

void ProtocolManager::SetTarget(LinkTarget target) {
    Update([&target](LinkShared& s) { s.target = std::move(target); });
}

void ProtocolManager::SetFirmware(std::vector<uint8_t> image) {
    Update([&image](LinkShared& s) { s.firmware = std::move(image); });
}

} // namespace vantrel
