#pragma once
// The emulator's model on one end and the PC's own frame layer on the other, with the line
// between them in memory: requests go through both frame layers, so a test sees what the PC
// would see.
#include <cstdint>
#include <optional>
#include <vector>

#include "SimFrames.h"
#include "SimProgrammer.h"
#include "link/FrameLayer.h"

namespace vantrel::sim::test {

struct Answer {
    bool ack = false;
    bool reply = false;
    uint8_t status = 0;
    std::vector<uint8_t> payload;
    bool None() const { return !ack && !reply; }
};

// A bank list for TargetConfig: (start, size) pairs.
using Banks = std::vector<std::pair<uint32_t, uint32_t>>;

// A target configuration as the PC builds it for a selected device with these banks.
std::vector<uint8_t> ConfigBytes(const Banks& banks, uint32_t session, uint8_t fill = 0xFF,
                                 uint8_t flags = 0);

class Bench : public FrameSink {
  public:
    explicit Bench(SimSettings settings = {}) : sim(std::move(settings)), pc(*this) {}

    // Sends one request through the PC's frame layer and carries the bytes both ways.
    Answer Exchange(uint8_t n, const std::vector<uint8_t>& payload);
    // A status poll with this configuration; it is kept for Status.
    Answer Poll(const Banks& banks, uint32_t session = 0, uint8_t fill = 0xFF, uint8_t flags = 0) {
        banks_ = banks;
        fill_ = fill;
        flags_ = flags;
        return Exchange(0, ConfigBytes(banks, session, fill, flags));
    }
    // A status poll of a valid session with the last configuration.
    Answer Status() { return Exchange(0, ConfigBytes(banks_, 0, fill_, flags_)); }
    Answer Write(uint32_t address, const std::vector<uint8_t>& data);
    Answer Read(uint32_t address, uint8_t count);
    Answer Operation(uint8_t op) { return Exchange(3, {op, 0, 0, 0}); }
    // Lets time pass in steps of `stepMs`, as the program does between bytes.
    void Run(uint64_t ms, uint64_t stepMs = 1);

    void PutByte(uint8_t byte) override { toSim_.push_back(byte); }
    void OnReply(uint8_t status, uint8_t n, std::span<const uint8_t> payload) override;
    void OnAck(uint8_t, uint8_t) override { answer_.ack = true; }
    void OnTimeout(uint8_t, uint8_t) override {}

    Programmer sim;
    FrameLayer pc;
    FrameReader reader;
    uint64_t now = 0;

  private:
    std::vector<uint8_t> toSim_;
    Answer answer_;
    Banks banks_;
    uint8_t fill_ = 0xFF, flags_ = 0;
};

void PutU32(std::vector<uint8_t>& out, uint32_t v);
uint32_t U32(const std::vector<uint8_t>& bytes, std::size_t at);

} // namespace vantrel::sim::test
