#include "SimBench.h"

namespace vantrel::sim::test {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t U32(const std::vector<uint8_t>& b, std::size_t at) {
    return b.at(at) | (b.at(at + 1) << 8) | (b.at(at + 2) << 16) | (uint32_t{b.at(at + 3)} << 24);
}

std::vector<uint8_t> ConfigBytes(const Banks& banks, uint32_t session, uint8_t fill,
                                 uint8_t flags) {
    std::vector<uint8_t> c;
    PutU32(c, banks.empty() ? 0 : banks.front().first);
    PutU32(c, banks.empty() ? 0 : banks.back().first + banks.back().second - 1);
    c.insert(c.end(), {0x01, 0, 130, 0, 0, flags});
    c.insert(c.end(), {2, 0xAA, 0xBB, 0}); // two ID bytes, then the 0 behind them
    PutU32(c, session);
    c.insert(c.end(), {fill, 0, 1});
    PutU32(c, 0x12345); // one protected address
    c.push_back(static_cast<uint8_t>(banks.size()));
    for (const auto& [start, size] : banks) {
        c.push_back(0x10);
        PutU32(c, start);
        PutU32(c, size);
    }
    c.insert(c.end(), {130, 0});
    return c;
}

Answer Bench::Exchange(uint8_t n, const std::vector<uint8_t>& payload) {
    answer_ = {};
    pc.Send(n, FrameLayer::kRequest, payload, 1);
    std::vector<uint8_t> line;
    line.swap(toSim_);
    for (uint8_t b : line) {
        if (!reader.Feed(b)) continue;
        const Request r = reader.Last();
        for (uint8_t out : sim.OnRequest(r.n, r.payload, now))
            pc.Receive(out);
    }
    // An unanswered request would wait for its time-out; clear the way for the next one.
    for (int i = 0;
         i < FrameLayer::kAnswerTicks + FrameLayer::kQuietTicks && pc.AwaitingSlot() >= 0; ++i)
        pc.Tick();
    return answer_;
}

Answer Bench::Write(uint32_t address, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> p;
    PutU32(p, address);
    p.insert(p.end(), data.begin(), data.end());
    return Exchange(1, p);
}

Answer Bench::Read(uint32_t address, uint8_t count) {
    std::vector<uint8_t> p;
    PutU32(p, address);
    p.push_back(count);
    return Exchange(2, p);
}

void Bench::Run(uint64_t ms, uint64_t stepMs) {
    for (uint64_t end = now + ms; now < end;) {
        now = std::min(end, now + stepMs);
        sim.Advance(now);
    }
}

void Bench::OnReply(uint8_t status, uint8_t, std::span<const uint8_t> payload) {
    answer_.reply = true;
    answer_.status = status;
    answer_.payload.assign(payload.begin(), payload.end());
}

} // namespace vantrel::sim::test
