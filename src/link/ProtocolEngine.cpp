#include "link/ProtocolEngine.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "base/LittleEndian.h"
#include "base/Reporter.h"
#include "base/UtilSnprintf.h"
#include "device/DeviceChecks.h"
#include "image/HexDoc.h"
#include "link/StatusRecord.h"
#include "platform/Clock.h"

namespace vantrel {

namespace {

// Bytes past the end of a short reply read as 0.
uint32_t GetU32(std::span<const uint8_t> bytes, std::size_t at) {
    if (at >= bytes.size()) return 0;
    return static_cast<uint32_t>(
        ReadLittleEndian(bytes.subspan(at, std::min<std::size_t>(4, bytes.size() - at))));
}

uint8_t GetU8(std::span<const uint8_t> bytes, std::size_t at) {
    return at < bytes.size() ? bytes[at] : 0;
}

void PutU32(uint8_t* out, uint32_t value) {
    WriteLittleEndian({out, 4}, value);
}

int Percent(uint64_t part, uint64_t whole) {
    return whole == 0 ? 0 : static_cast<int>(std::min<uint64_t>(part * 100 / whole, 100));
}

// The "Download File to Vantrel" item belongs to programmers of hardware 4.2x and 5.00 on.
bool DownloadMenuWanted(const LinkShared& s) {
    const int family = s.status.hardwareVersion / 10;
    return s.sessionValid && s.setupBlockValid && (family == 42 || family >= 50);
}

} // namespace

int OperationOfJob(uint32_t job) {
    // Jobs 18..23 are the calibration steps.
    static constexpr int kCalibration[] = {20, 21, 22, 25, 23, 24};
    switch (job) {
    case 1:
        return 1; // clear
    case 2:
        return 14; // program all zeroes, clear whole flash
    case 3:
        return 15; // clear entire chip
    case 7:
        return 6; // verify
    case 10:
        return 4; // blank check
    case 11:
        return 8; // read chip
    case 12:
        return 2; // program
    case 13:
        return 9; // cancel
    case 14:
        return 10; // fill
    case 15:
        return 13; // calculate CRC
    case 16:
        return 11; // program and verify
    case 17:
        return 12; // start application
    default:
        break;
    }
    if (job >= 18 && job <= 23) return kCalibration[job - 18];
    return -1;
}

ProtocolEngine::ProtocolEngine(ProtocolManager& pm, LinkLine& line, EngineSeams seams)
    : pm_(pm), line_(line), seams_(std::move(seams)) {}

void ProtocolEngine::Tick() {
    frame_.Tick();
    if (!pm_.Read([](const LinkShared& s) { return s.busy; })) NextRequest();
}

void ProtocolEngine::Send(uint8_t command, std::span<const uint8_t> payload, uint8_t sends) {
    pm_.Update([](LinkShared& s) { s.busy = true; });
    if (!frame_.Send(command, FrameLayer::kRequest, payload, sends))
        pm_.Update([](LinkShared& s) { s.busy = false; });
}

void ProtocolEngine::NextRequest() {
    if (line_.Halted()) return;
    struct Next {
        std::optional<QueuedJob> head;
        bool published, sessionValid, setupValid, setupWrite;
        std::string problem;
    };
    const Next next = pm_.Read([](const LinkShared& s) {
        Next n{};
        if (!s.jobs.empty()) n.head = s.jobs.front();
        n.published = s.target.published;
        n.problem = s.target.config.empty() ? s.target.problem : std::string();
        n.sessionValid = s.sessionValid;
        n.setupValid = s.setupBlockValid;
        n.setupWrite = s.setupWritePending;
        return n;
    });
    if (!next.published) return; // nothing is known of the target yet
    if (!next.problem.empty()) {
        // The programmer cannot be configured for this selection: nothing goes out, and what
        // was asked of it fails with the reason, which the user is told once.
        if (next.problem != reportedProblem_) {
            reportedProblem_ = next.problem;
            seams_.reporter.Report(0, next.problem);
        }
        if (next.head) Fail(next.problem);
        return;
    }
    reportedProblem_.clear();

    if (next.head) {
        job_ = *next.head;
        const int operation = OperationOfJob(job_.code);
        if (operation >= 0) {
            const uint8_t payload[4] = {static_cast<uint8_t>(operation), 0, 0, 0};
            Send(kCmdOperation, payload); // busy until the acknowledge
            RemoveJob();
            return;
        }
        switch (job_.code) {
        case kJobDownload:
            StartDownload();
            return;
        case kJobFirmware:
            StartFirmware();
            return;
        case kJobReadBack:
            StartReadBack();
            return;
        default:
            FinishJob();
            return; // an unknown code would hold the queue for ever
        }
    }

    if (!next.sessionValid) {
        SendPoll(false, pm_.Read([](const LinkShared& s) { return s.target; }));
    } else if (!next.setupValid) {
        const uint8_t read[4] = {0, 0, 0, 0};
        Send(kCmdSetup, read);
    } else if (next.setupWrite) {
        std::array<uint8_t, 4 + kSetupWriteSize> write{};
        const SetupBlock block = pm_.Setup();
        std::copy_n(block.begin(), kSetupWriteSize, write.begin() + 4);
        Send(kCmdSetup, write);
    } else {
        SendPoll(true, pm_.Read([](const LinkShared& s) { return s.target; }));
    }
}

void ProtocolEngine::SendPoll(bool sessionValid, const LinkTarget& target) {
    uint32_t field = 0;
    if (!sessionValid) {
        // A fresh session identifier from the millisecond clock; 0 would mean "no new
        // session", so the clock's rare 0 is sent as 1.
        field = std::max<uint32_t>(seams_.clock.Milliseconds(), 1);
        pm_.Update([field](LinkShared& s) { s.sessionId = field; });
    }
    const std::vector<uint8_t> config = target.ConfigWithSession(field);
    Send(kCmdConfig, config);
}

void ProtocolEngine::RemoveJob() {
    pm_.Update([serial = job_.serial](LinkShared& s) {
        if (!s.jobs.empty() && s.jobs.front().serial == serial) s.jobs.pop_front();
    });
}

void ProtocolEngine::FinishJob() {
    pm_.Update([serial = job_.serial](LinkShared& s) {
        if (!s.jobs.empty() && s.jobs.front().serial == serial) s.jobs.pop_front();
        s.busy = false;
    });
}

bool ProtocolEngine::StillRunning() const {
    return pm_.Read([serial = job_.serial](const LinkShared& s) {
        return !s.jobs.empty() && s.jobs.front().serial == serial;
    });
}

void ProtocolEngine::Fail(const std::string& text) {
    pm_.Update([&text](LinkShared& s) {
        SetLinkMessage(s, text);
        s.jobs.clear();
        s.busy = false;
    });
}

// ---- replies, acknowledges, time-outs -------------------------------------------------------

void ProtocolEngine::OnReply(uint8_t /*status*/, uint8_t n, std::span<const uint8_t> payload) {
    pm_.Update([](LinkShared& s) { s.busy = false; });
    line_.CloseOthers();
    switch (n) {
    case kCmdConfig:
        OnStatusReply(payload);
        break;
    case kCmdWrite:
        OnWriteReply(payload);
        break;
    case kCmdRead:
        OnReadReply(payload);
        break;
    case kCmdSetup:
        OnSetupReply(payload);
        break;
    case kCmdFirmware:
        OnFirmwareReply(payload);
        break;
    default:
        break;
    }
}

void ProtocolEngine::OnAck(uint8_t /*control*/, uint8_t n) {
    switch (n) {
    case kCmdWrite:
        if (job_.code == kJobDownload && StillRunning()) {
            acknowledged_ = true;
            DownloadStep();
            return;
        }
        break;
    case kCmdRead:
        Fail("Target does not support reading !");
        return;
    case kCmdSetup:
        pm_.Update([](LinkShared& s) {
            s.setupWritePending = false;
            if (!s.jobs.empty()) s.jobs.pop_front();
        });
        break;
    case kCmdFirmware:
        if (job_.code == kJobFirmware && StillRunning()) {
            firmwareOffset_ += static_cast<uint32_t>(chunkLength_);
            if (firmwareOffset_ < firmware_.size()) {
                FirmwareChunk();
            } else {
                pm_.Update([](LinkShared& s) { s.percentage = 100; });
                FinishJob();
            }
            return;
        }
        break;
    default:
        break;
    }
    pm_.Update([](LinkShared& s) { s.busy = false; });
}

void ProtocolEngine::OnTimeout(uint8_t /*control*/, uint8_t n) {
    pm_.Update([n](LinkShared& s) {
        s.sessionValid = false;
        s.setupBlockValid = false;
        s.imageDirty = true;
        if (n == kCmdConfig) {
            s.status.state = kStateNoCommunication;
        } else if (!s.jobs.empty()) {
            s.jobs.clear();
            SetLinkMessage(s, "Communication timed out !");
        }
        s.busy = false;
    });
    UpdateDownloadMenu();
}

void ProtocolEngine::OnStatusReply(std::span<const uint8_t> payload) {
    const bool first = firstStatus_;
    firstStatus_ = false;
    struct Outcome {
        bool firmwareChanged = false;
        int error = 0; // a session problem to report, once
    };
    const Outcome outcome = pm_.Update([&](LinkShared& s) {
        Outcome o;
        const uint32_t oldFirmware = s.status.firmwareVersion;
        ParseStatusRecord(payload, s.status.serialNumber, s.status);
        // The current address comes as the target sees it (field 5 ends at byte 14).
        constexpr std::size_t kAddressEnd = 14;
        if (payload.size() >= kAddressEnd) s.status.currentAddress -= s.target.addressOffset;
        o.firmwareChanged = s.status.firmwareVersion != oldFirmware;
        s.forceConfig = false;
        if (!s.checkSession) return o;
        const uint32_t theirs = s.status.sessionId;
        if (s.sessionValid) {
            if (theirs != s.sessionId) {
                s.sessionValid = false;
                s.setupBlockValid = false;
                s.imageDirty = true;
            }
            return o;
        }
        s.imageDirty = true;
        if (theirs != s.sessionId && theirs != 0) {
            // The programmer kept a session of an earlier run: expected right after the start.
            if (!first) o.error = 216;
            s.sessionId = theirs;
        } else if (theirs != s.sessionId) {
            o.error = 217;
        } else if (s.status.firmwareVersion / 100 != 200) {
            o.error = 214;
        } else if (!SupportedByProgrammer(s.target.device ? &*s.target.device : nullptr,
                                          s.status)) {
            o.error = s.status.hardwareVersion < 500 || s.status.hardwareVariant < 5 ? 215 : 230;
        }
        s.sessionValid = true;
        if (o.error != 0) s.checkSession = false;
        return o;
    });
    if (outcome.error != 0) seams_.reporter.Report(outcome.error);
    UpdateDownloadMenu();
    if (outcome.firmwareChanged && seams_.redraw) seams_.redraw();
}

void ProtocolEngine::OnSetupReply(std::span<const uint8_t> payload) {
    if (payload.size() < 4) return;
    const std::span<const uint8_t> block = payload.subspan(4);
    const std::optional<uint32_t> serial = pm_.Update([&](LinkShared& s) {
        std::optional<uint32_t> number;
        std::copy_n(block.begin(), std::min(block.size(), kSetupBlockSize), s.setupBlock.begin());
        s.setupBlockValid = true;
        if (block.size() >= 20) {
            number = GetU32(block, 16);
            s.status.serialNumber = *number;
        }
        return number;
    });
    if (serial && seams_.serialNumber) seams_.serialNumber(*serial);
    UpdateDownloadMenu();
}

void ProtocolEngine::UpdateDownloadMenu() {
    const bool wanted = pm_.Read(DownloadMenuWanted);
    if (wanted == menuShown_) return;
    menuShown_ = wanted;
    if (seams_.downloadMenu) seams_.downloadMenu(wanted);
}

// ---- data download ------------------------------------------------------------------------

void ProtocolEngine::StartDownload() {
    target_ = pm_.Read([](const LinkShared& s) { return s.target; });
    {
        LockedImage image = seams_.doc.Lock();
        total_ = static_cast<uint32_t>(image->TotalBytes());
    }
    acknowledged_ = false;
    offset_ = target_.lowestStart;
    sent_ = 0;
    chunkLength_ = 0;
    pm_.Update([this](LinkShared& s) {
        s.transferTotal = total_;
        s.percentage = 0;
    });
    DownloadStep();
}

void ProtocolEngine::DownloadStep() {
    if (acknowledged_) {
        offset_ += chunkLength_;
        sent_ += chunkLength_;
    }
    acknowledged_ = false;
    pm_.Update([pct = Percent(sent_, total_)](LinkShared& s) { s.percentage = pct; });
    std::size_t length = 0;
    {
        LockedImage image = seams_.doc.Lock();
        const ImageRun run = image->NextRun(offset_);
        if (run.length != 0 && sent_ < total_) {
            length = static_cast<std::size_t>(std::min<uint64_t>(run.length, kWriteChunk));
            std::memcpy(chunk_.data() + 4, run.data, length);
        }
    }
    if (length == 0) {
        pm_.Update([](LinkShared& s) {
            s.imageDirty = false;
            s.percentage = 100;
        });
        FinishJob();
        return;
    }
    chunkLength_ = static_cast<uint32_t>(length);
    PutU32(chunk_.data(), static_cast<uint32_t>(offset_) + target_.addressOffset);
    Send(kCmdWrite, std::span<const uint8_t>(chunk_.data(), length + 4));
}

void ProtocolEngine::OnWriteReply(std::span<const uint8_t> payload) {
    if (job_.code != kJobDownload || !StillRunning()) return;
    const uint8_t error = GetU8(payload, 0);
    const uint32_t address = GetU32(payload, 1) - target_.addressOffset;
    const unsigned data = GetU8(payload, 5);
    if (error == 0) return;
    if (error == 4) { // the programmer was not ready: the same chunk again
        acknowledged_ = false;
        Send(kCmdWrite, std::span<const uint8_t>(chunk_.data(), chunkLength_ + 4));
        return;
    }
    switch (error) {
    case 1:
        Fail(UTIL_format("Illegal Address: %x", {address}));
        break;
    case 2:
        Fail(UTIL_format("Could not program: %.2x at %x", {data, address}));
        break;
    case 5:
        Fail("Vantrel supply out of specification");
        break;
    default:
        Fail(UTIL_format("Error %d: Could not program %.2x at %x", {error, data, address}));
        break;
    }
}

// ---- read back ----------------------------------------------------------------------------

void ProtocolEngine::StartReadBack() {
    target_ = pm_.Read([](const LinkShared& s) { return s.target; });
    total_ = static_cast<uint32_t>(ProgramRangesSize(target_.programRanges));
    readNext_ = target_.lowestStart;
    readMore_ = true;
    pm_.Update([this](LinkShared& s) {
        s.transferTotal = total_;
        s.percentage = 0;
    });
    ReadRequest();
}

void ProtocolEngine::ReadRequest() {
    const std::optional<uint32_t> next = NextProgramAddress(target_.programRanges, readNext_);
    if (!readMore_ || !next || *next > target_.highestEnd) {
        pm_.Update([](LinkShared& s) { s.percentage = 100; });
        FinishJob();
        return;
    }
    readNext_ = *next;
    readCount_ = static_cast<uint32_t>(
        std::min<uint64_t>(kReadRequestSize, uint64_t{target_.highestEnd} - readNext_ + 1));
    pm_.Update([pct = Percent(readNext_ - target_.lowestStart, total_)](LinkShared& s) {
        s.percentage = pct;
    });
    uint8_t request[5];
    PutU32(request, readNext_ + target_.addressOffset);
    request[4] = static_cast<uint8_t>(readCount_);
    Send(kCmdRead, request);
}

void ProtocolEngine::OnReadReply(std::span<const uint8_t> payload) {
    const int head = pm_.CurrentJob();
    if (head < 0) return;
    if (head != static_cast<int>(kJobReadBack)) {
        pm_.Update([](LinkShared& s) {
            SetLinkMessage(s, "Protocoll error: Unexpected read frame received");
        });
        return;
    }
    if (job_.code != kJobReadBack || !StillRunning()) return; // a new read back starts next
    const uint8_t error = GetU8(payload, 0);
    const uint32_t address = GetU32(payload, 1) - target_.addressOffset;
    const uint32_t count = GetU8(payload, 5);
    std::string text;
    if (error == 1)
        text = UTIL_format("Illegal Address: %x", {address});
    else if (error != 0)
        text = UTIL_format("Error %d: Could not read from %x", {error, address});
    else if (address != readNext_)
        text = UTIL_format("Error: Read from wrong adr: %x instead of %x", {address, readNext_});
    else if (payload.size() < 6 || payload.size() - 6 < count)
        text = "Protocoll error: Read frame too short";
    if (!text.empty()) {
        Fail(text);
        return;
    }
    // Count 0: the block is erased. Bytes past the count asked for are not stored: they would
    // land on addresses nobody read (another bank's data in the image, or past the device).
    std::array<uint8_t, 256> erased;
    erased.fill(0xFF);
    const uint32_t stored = count == 0 ? readCount_ : std::min(count, readCount_);
    const uint8_t* bytes = count == 0 ? erased.data() : payload.data() + 6;
    seams_.doc.AddData(readNext_, stored, bytes, true);
    const uint64_t after = uint64_t{readNext_} + stored;
    readMore_ = after <= target_.highestEnd;
    readNext_ = static_cast<uint32_t>(after);
    ReadRequest();
}

// ---- firmware download --------------------------------------------------------------------

void ProtocolEngine::StartFirmware() {
    firmware_ = pm_.Update([](LinkShared& s) {
        s.imageDirty = true;
        s.transferTotal = static_cast<uint32_t>(s.firmware.size());
        s.percentage = 0;
        return s.firmware;
    });
    firmwareOffset_ = 0;
    if (firmware_.empty()) {
        FinishJob();
        return;
    }
    FirmwareChunk();
}

void ProtocolEngine::FirmwareChunk() {
    pm_.Update(
        [pct = Percent(firmwareOffset_, firmware_.size())](LinkShared& s) { s.percentage = pct; });
    const std::size_t length = std::min(kWriteChunk, firmware_.size() - firmwareOffset_);
    chunkLength_ = static_cast<uint32_t>(length);
    PutU32(chunk_.data(), firmwareOffset_);
    std::memcpy(chunk_.data() + 4, firmware_.data() + firmwareOffset_, length);
    Send(kCmdFirmware, std::span<const uint8_t>(chunk_.data(), length + 4), 1);
}

void ProtocolEngine::OnFirmwareReply(std::span<const uint8_t> payload) {
    if (job_.code != kJobFirmware || !StillRunning()) return;
    const uint8_t error = GetU8(payload, 0);
    if (error == 0) return;
    if (error == 4) {
        FirmwareChunk();
        return;
    }
    Fail(UTIL_format("Error %d: Could not download Firmware", {error}));
}

} // namespace vantrel
