#pragma once
// The protocol engine: the upper half of the serial protocol, on the link thread. One request
// on the line at a time: the head job of the queue, or else a status poll that carries the
// target configuration (or the setup block read and write the session needs). It handles every
// reply, acknowledge and time-out the frame layer hands up: the status record and the session
// check, the data download, the read back, the firmware download and the setup block.
// Contract: every member runs on the link thread. The shared state is the protocol manager's,
// changed in single locked steps; the image is read and written through the document's own
// lock, never while the link lock is held. Errors go through the reporting seam (which queues
// them for the main thread); the menu and redraw hooks are called on the link thread and must
// only post.
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "link/FrameLayer.h"
#include "link/ProtocolManager.h"

namespace vantrel {

class CHEXDoc;
class Clock;
class Reporter;

// The serial line below the frame layer, as the engine uses it.
class LinkLine {
  public:
    virtual ~LinkLine() = default;
    virtual void PutByte(uint8_t byte) = 0; // SIO_PutByte
    virtual void CloseOthers() = 0;         // SIO_CloseOthers: keep the port that answered
    virtual bool Halted() const = 0;        // LinkHalted: put no request on the line
};

struct EngineSeams {
    Clock& clock;
    Reporter& reporter;
    CHEXDoc& doc;
    // "Download File to Vantrel" belongs in the menu (true) or not; called when that changes.
    std::function<void(bool)> downloadMenu;
    // The firmware version changed: the window shows it.
    std::function<void()> redraw;
    // The programmer's serial number was read from its setup block.
    std::function<void(uint32_t)> serialNumber;
};

// Command numbers (request slots).
enum : uint8_t {
    kCmdConfig = 0,
    kCmdWrite = 1,
    kCmdRead = 2,
    kCmdOperation = 3,
    kCmdSetup = 4,
    kCmdFirmware = 5
};

// Job codes of the queue.
enum : uint32_t { kJobDownload = 4, kJobFirmware = 5, kJobReadBack = 6 };

inline constexpr std::size_t kWriteChunk = 240;
inline constexpr uint32_t kReadRequestSize = 128;

// The operation a job code stands for, or -1 for the transfer jobs and unknown codes.
int OperationOfJob(uint32_t job);

class ProtocolEngine final : public FrameSink {
  public:
    ProtocolEngine(ProtocolManager& pm, LinkLine& line, EngineSeams seams);

    // PM_Tick: the frame layer's tick, then the next request when none is on the line.
    void Tick();
    // FRAME_Receive.
    void Receive(uint8_t byte) { frame_.Receive(byte); }
    // The bytes of one read (see FrameLayer::ReceiveRead).
    void ReceiveRead(std::span<const uint8_t> bytes) { frame_.ReceiveRead(bytes); }

    // FrameSink.
    void PutByte(uint8_t byte) override { line_.PutByte(byte); }
    void OnReply(uint8_t status, uint8_t n, std::span<const uint8_t> payload) override;
    void OnAck(uint8_t control, uint8_t n) override;
    void OnTimeout(uint8_t control, uint8_t n) override;

    const FrameLayer& Frames() const { return frame_; }

  private:
    void NextRequest();
    void Send(uint8_t command, std::span<const uint8_t> payload, uint8_t sends = 5);
    void SendPoll(bool sessionValid, const LinkTarget& target);
    void RemoveJob(); // the running job leaves the queue
    void FinishJob(); // ... and nothing is on the line

    void OnStatusReply(std::span<const uint8_t> payload);
    void OnSetupReply(std::span<const uint8_t> payload);
    void UpdateDownloadMenu();

    void StartDownload();
    void DownloadStep();
    void OnWriteReply(std::span<const uint8_t> payload);

    void StartReadBack();
    void ReadRequest();
    void OnReadReply(std::span<const uint8_t> payload);

    void StartFirmware();
    void FirmwareChunk();
    void OnFirmwareReply(std::span<const uint8_t> payload);

    // The head job is still the one this transfer runs (no cancel came in between).
    bool StillRunning() const;
    // Puts a text into the message buffer and clears the queue.
    void Fail(const std::string& text);

    ProtocolManager& pm_;
    LinkLine& line_;
    EngineSeams seams_;
    FrameLayer frame_{*this};

    QueuedJob job_;           // the job the running transfer belongs to
    bool firstStatus_ = true; // no status reply has come since the program started
    bool menuShown_ = false;
    std::string reportedProblem_;

    // Data download.
    bool acknowledged_ = false;
    uint64_t offset_ = 0;
    uint32_t sent_ = 0;
    uint32_t total_ = 0;
    uint32_t chunkLength_ = 0;
    std::array<uint8_t, kWriteChunk + 4> chunk_{};

    // Read back.
    uint32_t readNext_ = 0;
    uint32_t readCount_ = 0;
    bool readMore_ = true; // the next address lies within the 32-bit space
    LinkTarget target_;    // of the running transfer

    // Firmware download.
    std::vector<uint8_t> firmware_;
    uint32_t firmwareOffset_ = 0;
};

} // namespace vantrel
