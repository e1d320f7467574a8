#pragma once
// The programmer model: what the box does with each request, without any I/O. Time comes in as
// milliseconds from the caller, so tests drive it step by step.
//
// Firmware download: chunks (command 5) go into a 0x30000-byte buffer. The download counts as
// complete when the buffer holds the end marker 21 43 65 87 at 0xBFF0 and everything up to
// 0xC000 has arrived (the images of the smaller programmers end so), or else once no chunk
// came for `firmwareQuietMs`. The programmer then restarts: it hears nothing for `restartMs`,
// then runs `newFirmware`, knows no session (0), and its buffer is empty; the target flash and
// the setup block stay.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

#include "SimStore.h"
#include "SimTargetConfig.h"

namespace vantrel::sim {

struct SimSettings {
    uint16_t hardware = 510;
    uint8_t variant = 1;
    uint32_t firmware = 20000;
    uint32_t newFirmware = 20000; // after a firmware download
    uint32_t serial = 12345;
    uint16_t vin = 12000;
    uint16_t vtarget = 3300;
    uint8_t interfaceInUse = 1;
    uint8_t parallel = 1; // status field 19: sockets are fitted
    std::vector<uint8_t> algorithms = {128, 129, 130, 131, 132, 133, 135, 136, 137,
                                       138, 139, 140, 141, 142, 143, 144, 145, 146};
    std::vector<uint8_t> interfaces = {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13};
    uint32_t opMs = 100;                    // every operation, unless listed below
    std::map<uint8_t, uint32_t> opMsByCode; // operation code -> ms
    std::map<uint8_t, uint8_t> failOps;     // operation code -> the result it ends with
    unsigned statusFields = 22;             // the status record is cut after this many fields
    bool refuseSession = false;             // always reports session 0
    bool sessionMismatch = false;           // reports another id than the one set
    bool unreadable = false;                // reads are acknowledged, not answered
    int badCrcs = 0;                        // the first N CRC calculations come out wrong
    std::optional<uint32_t> failVerify;     // verify reads this byte inverted
    std::optional<uint32_t> failBlank;      // blank check reads 0x00 here
    unsigned silenceAfterWrite = 0;         // 0: never; else deaf from the N-th write frame on
    uint32_t silenceMs = 0;
    uint32_t firmwareQuietMs = 1000;
    uint32_t restartMs = 3000;
};

struct SimCounters {
    unsigned sessions = 0; // sessions started
    unsigned frames = 0;   // requests received
    unsigned refused = 0;  // requests answered with a refusal or not parsed
    unsigned unheard = 0;  // requests that came while the programmer was deaf
    unsigned restarts = 0;
};

// Programmer state codes and result codes the model uses.
namespace code {
inline constexpr uint8_t kReady = 0, kInitializing = 1, kClearing = 2, kWriting = 3, kReading = 4,
                         kVerifying = 5, kBlankChecking = 6, kResetting = 8, kFilling = 11,
                         kCrc = 14, kRefused = 100;
inline constexpr uint8_t kOk = 0, kIllegalAddress = 1, kProgramFailed = 2, kVerifyFailed = 3,
                         kBlankFailed = 4, kCanceled = 7, kUnsupported = 61, kNoData = 62;
} // namespace code

class Programmer {
  public:
    explicit Programmer(SimSettings settings);

    // A complete request. Returns what goes back on the line: a reply frame, the acknowledge
    // byte, or nothing.
    std::vector<uint8_t> OnRequest(uint8_t n, std::span<const uint8_t> payload, uint64_t nowMs);
    // Runs time on: operations progress and end, a firmware download ends, a restart ends.
    void Advance(uint64_t nowMs);
    // True while the programmer hears nothing (a silence window, a restart).
    bool Deaf(uint64_t nowMs) const;

    // The status record as it would be sent now (all fields up to the configured count).
    std::vector<uint8_t> StatusRecord() const;

    uint8_t State() const { return state_; }
    uint8_t Result() const { return result_; }
    uint32_t Session() const { return session_; }
    uint32_t Firmware() const { return firmware_; }
    uint16_t Crc() const { return crc_; }
    const std::array<uint8_t, 128>& Setup() const { return setup_; }
    const std::optional<TargetConfig>& Config() const { return config_; }
    const ByteStore& Buffer() const { return buffer_; }
    const ByteStore& Target() const { return target_; }
    const SimCounters& Counters() const { return counters_; }
    SimCounters& Counters() { return counters_; }

  private:
    struct Outcome {
        uint8_t result = code::kOk;
        std::optional<uint32_t> address; // failing address
        uint8_t read = 0, expected = 0;
    };
    struct Running {
        uint8_t op = 0;
        std::vector<uint8_t> phases; // busy states, one after the other
        uint64_t start = 0, end = 0;
    };

    std::vector<uint8_t> OnStatusPoll(std::span<const uint8_t> payload);
    std::vector<uint8_t> OnWrite(std::span<const uint8_t> payload);
    std::vector<uint8_t> OnRead(std::span<const uint8_t> payload);
    std::vector<uint8_t> OnOperation(std::span<const uint8_t> payload, uint64_t nowMs);
    std::vector<uint8_t> OnSetup(std::span<const uint8_t> payload);
    std::vector<uint8_t> OnFirmware(std::span<const uint8_t> payload, uint64_t nowMs);
    std::vector<uint8_t> Reply(uint8_t n, std::span<const uint8_t> payload) const;
    // The refusal of a write or firmware chunk: error, address, value (low byte the data byte).
    std::vector<uint8_t> Refuse(uint8_t n, uint8_t error, uint32_t address, uint32_t value);

    // Operations (SimOperations.cpp).
    void StartOperation(uint8_t op, uint64_t nowMs);
    void TrackOperation(uint64_t nowMs);
    Outcome Perform(uint8_t op);
    Outcome Program();
    Outcome Verify() const;
    Outcome BlankCheck() const;
    void EraseTarget();
    void FillBuffer();
    void ReadChip();
    uint16_t BufferCrc() const;
    uint64_t BankBytes() const;
    uint32_t AddressAt(uint64_t position) const; // position within the banks laid end to end
    bool InBanks(uint64_t address, uint64_t length) const;
    const std::vector<Bank>& Banks() const;
    uint8_t Fill() const { return config_ ? config_->fill : 0xFF; }

    void BeginRestart(uint64_t nowMs);

    SimSettings settings_;
    SimCounters counters_;
    std::optional<TargetConfig> config_;
    ByteStore buffer_;
    ByteStore target_;
    std::array<uint8_t, 128> setup_{};

    uint8_t state_ = code::kReady;
    uint8_t result_ = code::kOk;
    uint32_t firmware_ = 0;
    uint32_t address_ = 0;
    uint32_t session_ = 0;
    uint8_t readByte_ = 0, expectedByte_ = 0;
    uint16_t crc_ = 0;
    uint16_t calibration1_ = 0, calibration2_ = 0;
    std::optional<Running> running_;

    unsigned writes_ = 0;
    uint64_t deafUntil_ = 0;

    std::vector<uint8_t> firmwareImage_;
    uint64_t firmwareHighest_ = 0; // one past the highest byte received
    std::optional<uint64_t> lastChunkMs_;
    std::optional<uint64_t> restartEndsMs_;
};

} // namespace vantrel::sim
