#include "SimTargetConfig.h"

namespace vantrel::sim {
namespace {

// Reads little-endian fields; every read past the end fails and stays failed.
class Cursor {
  public:
    explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    bool Ok() const { return ok_; }
    std::size_t Left() const { return ok_ ? bytes_.size() - pos_ : 0; }
    std::size_t Pos() const { return pos_; }
    uint8_t U8() { return static_cast<uint8_t>(Take(1)); }
    uint32_t U32() { return static_cast<uint32_t>(Take(4)); }
    std::vector<uint8_t> Bytes(std::size_t count) {
        if (!ok_ || Left() < count) {
            ok_ = false;
            return {};
        }
        std::vector<uint8_t> out(bytes_.begin() + pos_, bytes_.begin() + pos_ + count);
        pos_ += count;
        return out;
    }

  private:
    uint64_t Take(std::size_t width) {
        if (!ok_ || Left() < width) {
            ok_ = false;
            return 0;
        }
        uint64_t v = 0;
        for (std::size_t i = 0; i < width; ++i)
            v |= uint64_t{bytes_[pos_ + i]} << (8 * i);
        pos_ += width;
        return v;
    }
    std::span<const uint8_t> bytes_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

// The tail after the protected addresses: [m, banks], serial algorithm, [13 passcode bytes],
// [c, c bytes], 0. True when it uses every byte exactly.
bool ParseTail(Cursor c, bool withBanks, TargetConfig& cfg) {
    cfg.banks.clear();
    if (withBanks) {
        const uint8_t m = c.U8();
        for (unsigned i = 0; i < m && c.Ok(); ++i) {
            Bank b;
            b.kindOrder = c.U8();
            b.start = c.U32();
            b.size = c.U32();
            cfg.banks.push_back(b);
        }
    }
    cfg.serialAlgo = c.U8();
    cfg.passcodeBlock.clear();
    if (cfg.serialAlgo == 139 || cfg.serialAlgo == 140) cfg.passcodeBlock = c.Bytes(13);
    cfg.chipSpecifics.clear();
    if (c.Left() > 1) cfg.chipSpecifics = c.Bytes(c.U8());
    return c.Ok() && c.Left() == 1 && c.U8() == 0;
}

bool BanksInOrder(const std::vector<Bank>& banks) {
    for (std::size_t i = 0; i < banks.size(); ++i) {
        if (banks[i].End() > (uint64_t{1} << 32)) return false;
        if (i && banks[i].start < banks[i - 1].End()) return false;
    }
    return true;
}

} // namespace

std::optional<TargetConfig> ParseTargetConfig(std::span<const uint8_t> bytes, std::string& reason) {
    TargetConfig cfg;
    Cursor c(bytes);
    cfg.lowest = c.U32();
    cfg.highest = c.U32();
    cfg.speedInterface = c.U8();
    cfg.sifType = c.U8();
    cfg.algoS = c.U8();
    cfg.algoP = c.U8();
    cfg.vpp = c.U8();
    cfg.flags = c.U8();
    cfg.idBytes = c.Bytes(c.U8());
    c.U8(); // the 0 behind the ID bytes
    cfg.session = c.U32();
    cfg.fill = c.U8();
    cfg.bootSelect = c.U8();
    const uint8_t k = c.U8();
    for (unsigned i = 0; i < k && c.Ok(); ++i)
        cfg.protectedAddresses.push_back(c.U32());
    if (!c.Ok()) {
        reason = "configuration ends early";
        return std::nullopt;
    }
    // The bank group is present only when a device is selected: try it first.
    if (!ParseTail(c, true, cfg) && !ParseTail(c, false, cfg)) {
        reason = "configuration tail does not fit";
        return std::nullopt;
    }
    if (!BanksInOrder(cfg.banks)) {
        reason = "banks overlap or are out of order";
        return std::nullopt;
    }
    if (cfg.banks.empty() && cfg.highest >= cfg.lowest && (cfg.lowest || cfg.highest) &&
        uint64_t{cfg.highest} - cfg.lowest < kMaxBankBytes)
        cfg.banks.push_back({0, cfg.lowest, cfg.highest - cfg.lowest + 1});
    uint64_t total = 0;
    for (const Bank& b : cfg.banks)
        total += b.size;
    if (total > kMaxBankBytes) {
        reason = "banks larger than the emulator holds";
        return std::nullopt;
    }
    return cfg;
}

} // namespace vantrel::sim
