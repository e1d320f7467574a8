#include "link/SerialLink.h"

#include <poll.h>
#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <chrono>

#include "base/UtilSnprintf.h"

namespace vantrel {

namespace {

constexpr uint32_t kTickBase = 412500;
constexpr uint32_t kTickOffset = 50;
constexpr int32_t kMaxTickLag = 20;      // a late tick is re-based, not caught up in a burst
constexpr uint32_t kRatePeriod = 1000;   // ms between two measurements of the data rates
constexpr uint32_t kReopenPeriod = 1000; // ms between two tries to reopen a lost device
constexpr int kPassWaitMs = 2;

// The count line and the bytes as " %.2X" each, written in one piece.
std::string TraceLine(const char* format, std::size_t count, const uint8_t* bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = UTIL_format(format, {count});
    text.reserve(text.size() + count * 3 + 2);
    for (std::size_t i = 0; i < count; ++i) {
        text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text + "\r\n";
}

// The link thread keeps the protocol tick's pace while the rest is busy; without the right to
// it the thread simply runs at normal priority.
void RaisePriority() {
    sched_param param{};
    param.sched_priority = ::sched_get_priority_max(SCHED_FIFO);
    (void)::pthread_setschedparam(::pthread_self(), SCHED_FIFO, &param);
}

} // namespace

SerialLink::SerialLink(SerialLinkSeams seams) : seams_(std::move(seams)) {}

SerialLink::~SerialLink() {
    Stop();
}

std::optional<std::string> SerialLink::Start(int comPort, LinkClient& client) {
    if (running_.load()) return std::nullopt;
    std::optional<std::string> result = OpenPorts(comPort, client);
    thread_ = std::thread([this] { Run(); });
    return result;
}

std::optional<std::string> SerialLink::StartWithoutThread(int comPort, LinkClient& client) {
    if (running_.load()) return std::nullopt;
    std::optional<std::string> result = OpenPorts(comPort, client);
    BeginThread();
    return result;
}

std::optional<std::string> SerialLink::OpenPorts(int comPort, LinkClient& client) {
    if (!startTaken_) {
        startTime_ = seams_.clock.Milliseconds();
        startTaken_ = true;
    }
    running_.store(true);
    stopRequest_.store(false);
    client_ = &client;
    activePort_.store(-1);
    lastReadPort_ = -1;
    txCount_ = 0;
    openMask_.store(0);
    std::string reason;
    for (int i = 0; i < kComPortCount; ++i) {
        Entry& entry = ports_[i];
        entry = Entry{};
        if (comPort != 0 && comPort != i + 1) continue;
        std::optional<std::string> path = seams_.pathOf(i + 1);
        if (!path) continue;
        entry.port = seams_.makePort();
        entry.path = *path;
        // A port counts once it could be opened, even if its line settings were refused.
        std::optional<std::string> problem = entry.port->Open(entry.path);
        if (!entry.port->IsOpen()) {
            // Why a port could not be opened (in use, no permission) is worth more than "not
            // available" alone: the first such reason goes with the report.
            if (problem && reason.empty() && *problem != kCannotOpenPort) reason = *problem;
            continue;
        }
        // Bytes still queued may be answers to an earlier process.
        entry.port->Flush();
        openMask_.fetch_or(1u << i);
    }
    if (AnyPortOpen()) return std::nullopt;
    std::string text = kNoComPortText;
    if (!reason.empty()) text = (text + "\r\n" + reason).substr(0, kMessageSize - 1);
    seams_.reporter.Report(kNoComPortCode, text);
    return text;
}

void SerialLink::BeginThread() {
    tickInterval_.store(kTickBase / kLinkBaudRate + kTickOffset);
    halted_.store(false);
}

void SerialLink::Run() {
    RaisePriority();
    BeginThread();
    while (!stopRequest_.load()) {
        ServiceOnce();
        WaitForInput(kPassWaitMs);
    }
    stopRequest_.store(false); // the acknowledgement Stop waits for
}

void SerialLink::Stop() {
    if (!running_.load()) return;
    activePort_.store(-1);
    if (thread_.joinable()) {
        stopRequest_.store(true);
        while (stopRequest_.load())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        thread_.join();
    }
    for (int i = 0; i < kComPortCount; ++i) {
        ClosePort(i);
        ports_[i] = Entry{};
    }
    activePort_.store(-1);
    halted_.store(true);
    seams_.log.Write("\r\n\r\n All COMPORTS closed \r\n\r\n");
    client_ = nullptr;
    running_.store(false);
}

void SerialLink::PutByte(uint8_t byte) {
    transmittedTotal_.fetch_add(1);
    if (txCount_ < kTransmitBufferSize) txBuffer_[txCount_++] = byte;
}

void SerialLink::CloseOthers() {
    // Before anything was read there is no port to keep: closing them all would end the search.
    if (lastReadPort_ < 0) return;
    activePort_.store(lastReadPort_);
    for (int i = 0; i < kComPortCount; ++i) {
        if (i == lastReadPort_) continue;
        ports_[i].reopening = false; // a lost port that is not the programmer's stays closed
        if (!IsOpenEntry(i)) continue;
        ClosePort(i);
        seams_.log.Write(UTIL_format("\r\n\r\n COM%d closed \r\n\r\n", {i + 1}));
    }
}

void SerialLink::ServiceOnce() {
    if (!client_) return;
    uint32_t now = Now();
    seams_.log.WriteTimeStamp();
    RunTick(now);
    ReadOnePort(now);
    SendBuffer(now);
    TakeRates(now);
    RetryLostPorts(now);
}

uint32_t SerialLink::Now() {
    return seams_.clock.Milliseconds() - startTime_;
}

void SerialLink::RunTick(uint32_t now) {
    auto interval = static_cast<int32_t>(tickInterval_.load());
    if (static_cast<int32_t>(now - lastTick_) <= interval) return;
    lastTick_ += static_cast<uint32_t>(interval);
    if (static_cast<int32_t>(now - lastTick_) > kMaxTickLag) lastTick_ = now;
    client_->Tick();
}

void SerialLink::ReadOnePort(uint32_t now) {
    std::array<uint8_t, kReadChunk> buffer;
    std::size_t count = 0;
    for (int i = 0; i < kComPortCount && count == 0; ++i) {
        if (!IsOpenEntry(i)) continue;
        SerialPort::Transfer got = ports_[i].port->Read(buffer.data(), buffer.size());
        count = std::min(got.count, buffer.size());
        receivedTotal_.fetch_add(static_cast<uint32_t>(count));
        if (count > 0) lastReadPort_ = i;
        if (got.lost) MarkLost(i, now);
    }
    if (count == 0) return;
    seams_.log.Write(TraceLine("  <<<< %d   ", count, buffer.data()));
    client_->ReceiveRead(std::span<const uint8_t>(buffer.data(), count));
}

void SerialLink::SendBuffer(uint32_t now) {
    if (txCount_ == 0) return;
    for (int i = 0; i < kComPortCount; ++i) {
        if (!IsOpenEntry(i)) continue;
        // The driver may take a part at a time; a full queue ends the pass's write.
        std::size_t done = 0;
        while (done < txCount_) {
            SerialPort::Transfer put =
                ports_[i].port->Write(txBuffer_.data() + done, txCount_ - done);
            done += put.count;
            if (put.lost) {
                MarkLost(i, now);
                break;
            }
            if (put.count == 0) break;
        }
    }
    seams_.log.Write(TraceLine("  %d >>>>  ", txCount_, txBuffer_.data()));
    txCount_ = 0;
}

void SerialLink::TakeRates(uint32_t now) {
    uint32_t elapsed = now - rateTime_;
    if (elapsed < kRatePeriod) return;
    uint32_t received = receivedTotal_.load();
    uint32_t transmitted = transmittedTotal_.load();
    receiveRate_.store(static_cast<uint32_t>(uint64_t(received - rateReceived_) * 1000 / elapsed));
    transmitRate_.store(
        static_cast<uint32_t>(uint64_t(transmitted - rateTransmitted_) * 1000 / elapsed));
    rateReceived_ = received;
    rateTransmitted_ = transmitted;
    rateTime_ = now;
}

void SerialLink::RetryLostPorts(uint32_t now) {
    for (int i = 0; i < kComPortCount; ++i) {
        Entry& entry = ports_[i];
        if (!entry.reopening || now - entry.lastTry < kReopenPeriod) continue;
        entry.lastTry = now;
        (void)entry.port->Open(entry.path);
        if (!entry.port->IsOpen()) continue;
        entry.port->Flush();
        entry.reopening = false;
        openMask_.fetch_or(1u << i);
        seams_.log.Write(UTIL_format("\r\n\r\n COM%d reopened \r\n\r\n", {i + 1}));
    }
}

void SerialLink::MarkLost(int index, uint32_t now) {
    ClosePort(index);
    ports_[index].reopening = true;
    ports_[index].lastTry = now;
    seams_.log.Write(UTIL_format("\r\n\r\n COM%d lost \r\n\r\n", {index + 1}));
}

void SerialLink::ClosePort(int index) {
    Entry& entry = ports_[index];
    if (entry.port) entry.port->Close();
    openMask_.fetch_and(~(1u << index));
}

bool SerialLink::IsOpenEntry(int index) const {
    return (openMask_.load() & (1u << index)) != 0;
}

void SerialLink::WaitForInput(int ms) {
    std::array<pollfd, kComPortCount> fds{};
    nfds_t polled = 0;
    SerialPort* withoutDescriptor = nullptr;
    for (int i = 0; i < kComPortCount; ++i) {
        if (!IsOpenEntry(i)) continue;
        int fd = ports_[i].port->PollDescriptor();
        if (fd >= 0)
            fds[polled++] = pollfd{fd, POLLIN, 0};
        else if (!withoutDescriptor)
            withoutDescriptor = ports_[i].port.get();
    }
    // A hung-up descriptor wakes the poll at once; the next pass reads it, finds it lost and
    // closes it, so the wait never spins.
    if (polled > 0)
        (void)::poll(fds.data(), polled, ms);
    else if (withoutDescriptor)
        (void)withoutDescriptor->WaitForInput(ms);
    else
        seams_.clock.Sleep(static_cast<uint32_t>(ms));
}

} // namespace vantrel
