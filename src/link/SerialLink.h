#pragma once
// The serial link: the table of the 20 COM ports and the link thread that drives the protocol.
// With AUTO every mapped port of COM1..COM20 is opened, every outgoing byte goes to all of
// them, and the first port the programmer answers on is kept (CloseOthers). Each pass of the
// thread writes a time stamp to the protocol log, runs the protocol tick when it is due, reads
// one port, sends the transmit buffer and takes the data rates; between passes it waits at
// most 2 ms, waking as soon as bytes arrive. The link knows nothing of frames: it drives a
// LinkClient.
//
// Threads: Start and Stop belong to one controlling thread (the main thread). The port table,
// the transmit buffer and the totals' bookkeeping belong to the link thread while it runs;
// PutByte and CloseOthers are called only from inside the client's Tick and Receive. What other
// threads read is kept in atomics; no lock is held across I/O.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <thread>

#include "base/LogFile.h"
#include "base/Reporter.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"

namespace vantrel {

inline constexpr int kComPortCount = 20;
inline constexpr std::size_t kTransmitBufferSize = 1000;
inline constexpr std::size_t kReadChunk = 200;
inline constexpr uint32_t kLinkBaudRate = 115200;
inline constexpr int32_t kNoComPortCode = 218;
inline constexpr const char* kNoComPortText = "None of the selected com ports is available !";

// What the link thread drives (the protocol engine implements it).
class LinkClient {
  public:
    virtual ~LinkClient() = default;
    virtual void Tick() = 0;                // one protocol tick
    virtual void Receive(uint8_t byte) = 0; // one received byte, in order
    // All bytes of one read, in order: nothing sent while they are taken was on the line
    // before them.
    virtual void ReceiveRead(std::span<const uint8_t> bytes) {
        for (uint8_t b : bytes)
            Receive(b);
    }
};

struct SerialLinkSeams {
    Clock& clock;
    ProtocolLog& log;
    Reporter& reporter;
    std::function<std::unique_ptr<SerialPort>()> makePort;
    // COMn -> device path; nullopt when that COM number is not mapped to a device.
    std::function<std::optional<std::string>(int comNumber)> pathOf;
};

class SerialLink {
  public:
    explicit SerialLink(SerialLinkSeams seams);
    ~SerialLink();
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // comPort 0 = AUTO (COM1..COM20), 1..20 = that one only. Opens the ports and starts the
    // thread, also when no port opened (it then only ticks); that case is reported (218) and
    // its text returned. A Start while the link runs does nothing and returns nullopt.
    std::optional<std::string> Start(int comPort, LinkClient& client);
    // The same without the thread, for driving the passes by hand with ServiceOnce.
    std::optional<std::string> StartWithoutThread(int comPort, LinkClient& client);
    // Stops the thread and closes every port. Nothing when the link is not running.
    void Stop();

    // Link thread only.
    // Appends one byte to the transmit buffer; beyond 1000 bytes between two sends the byte is
    // dropped (a frame is far smaller), but still counted.
    void PutByte(uint8_t byte);
    // Keeps the port that delivered last (it becomes the active port) and closes every other.
    void CloseOthers();
    // One pass of the link thread, without its wait.
    void ServiceOnce();

    // Any thread.
    bool IsRunning() const { return running_.load(); }
    bool AnyPortOpen() const { return openMask_.load() != 0; }
    // 0-based index of the port that carries the programmer; -1 while none is chosen.
    int ActivePort() const { return activePort_.load(); }
    uint32_t ReceiveRate() const { return receiveRate_.load(); } // bytes per second
    uint32_t TransmitRate() const { return transmitRate_.load(); }
    // True until the link thread first runs and again after Stop: no request goes out then.
    bool Halted() const { return halted_.load(); }
    uint32_t TickInterval() const { return tickInterval_.load(); }
    uint32_t ReceivedTotal() const { return receivedTotal_.load(); }
    uint32_t TransmittedTotal() const { return transmittedTotal_.load(); }

  private:
    struct Entry {
        std::unique_ptr<SerialPort> port;
        std::string path;       // kept so that a lost device is opened again on the same path
        bool reopening = false; // lost; tried again once a second while the link runs
        uint32_t lastTry = 0;
    };

    std::optional<std::string> OpenPorts(int comPort, LinkClient& client);
    void BeginThread(); // what the thread does first
    void Run();
    void WaitForInput(int ms);
    void RunTick(uint32_t now);
    void ReadOnePort(uint32_t now);
    void SendBuffer(uint32_t now);
    void TakeRates(uint32_t now);
    void RetryLostPorts(uint32_t now);
    void ClosePort(int index);
    void MarkLost(int index, uint32_t now);
    bool IsOpenEntry(int index) const;
    uint32_t Now();

    SerialLinkSeams seams_;
    LinkClient* client_ = nullptr;
    std::thread thread_;

    // Link thread (and the controlling thread while no thread runs).
    std::array<Entry, kComPortCount> ports_;
    std::array<uint8_t, kTransmitBufferSize> txBuffer_{};
    std::size_t txCount_ = 0;
    int lastReadPort_ = -1;
    bool startTaken_ = false;
    uint32_t startTime_ = 0;
    uint32_t lastTick_ = 0;
    uint32_t rateTime_ = 0;
    uint32_t rateReceived_ = 0;
    uint32_t rateTransmitted_ = 0;

    // Read by any thread.
    std::atomic<bool> running_{false};
    std::atomic<bool> stopRequest_{false};
    std::atomic<bool> halted_{true};
    std::atomic<uint32_t> openMask_{0}; // bit i: COM(i + 1) is open
    std::atomic<int> activePort_{-1};
    std::atomic<uint32_t> tickInterval_{50};
    std::atomic<uint32_t> receiveRate_{0};
    std::atomic<uint32_t> transmitRate_{0};
    std::atomic<uint32_t> receivedTotal_{0};
    std::atomic<uint32_t> transmittedTotal_{0};
};

// The operations under the names the program has always used.
inline std::optional<std::string> LINK_Start(SerialLink& link, int comPort, LinkClient& client) {
    return link.Start(comPort, client);
}
inline void LINK_Stop(SerialLink& link) {
    link.Stop();
}
inline void SIO_PutByte(SerialLink& link, uint8_t byte) {
    link.PutByte(byte);
}
inline void SIO_CloseOthers(SerialLink& link) {
    link.CloseOthers();
}
inline bool SIO_AnyPortOpen(const SerialLink& link) {
    return link.AnyPortOpen();
}

} // namespace vantrel
