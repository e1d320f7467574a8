#include "link/StatusRecord.h"

#include <algorithm>
#include <cstddef>

#include "base/LittleEndian.h"

namespace vantrel {

namespace {

// Little-endian fields off the front of the payload; a read that would pass the end takes
// nothing and says so.
class FieldReader {
  public:
    explicit FieldReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    template <typename T> bool Read(T& out) {
        if (bytes_.size() - pos_ < sizeof(T)) return false;
        out = static_cast<T>(ReadLittleEndian(bytes_.subspan(pos_, sizeof(T))));
        pos_ += sizeof(T);
        ++taken_;
        return true;
    }

    bool ReadChars(std::array<char, 8>& out) {
        if (bytes_.size() - pos_ < out.size()) return false;
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = static_cast<char>(bytes_[pos_ + i]);
        pos_ += out.size();
        ++taken_;
        return true;
    }

    // A count byte, then that many codes. All of them are skipped to reach the next field, but
    // only the first kMaxSupportedCodes are kept.
    bool ReadCodes(std::vector<uint8_t>& out) {
        if (pos_ >= bytes_.size()) return false;
        const std::size_t count = bytes_[pos_];
        if (bytes_.size() - pos_ - 1 < count) return false;
        const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + 1);
        out.assign(first, first + static_cast<std::ptrdiff_t>(std::min(count, kMaxSupportedCodes)));
        pos_ += 1 + count;
        ++taken_;
        return true;
    }

    // How many fields were taken so far.
    int Taken() const { return taken_; }

  private:
    std::span<const uint8_t> bytes_;
    std::size_t pos_ = 0;
    int taken_ = 0;
};

constexpr int kHardwareVersionField = 9;

bool HasExtendedFields(const ProgrammerStatus& status) {
    return status.hardwareVersion >= 500 || status.firmwareVersion >= 18200;
}

// Fields 1 to 18, in order; false at the first field that is not complete.
bool ReadBaseFields(FieldReader& in, ProgrammerStatus& s) {
    return in.Read(s.state) && in.Read(s.firmwareVersion) && in.Read(s.kept1) &&
           in.Read(s.result) && in.Read(s.currentAddress) && in.Read(s.sessionId) &&
           in.ReadChars(s.bootloaderId) && in.Read(s.interfaceInUse) &&
           in.Read(s.hardwareVersion) && in.Read(s.inputVoltage) && in.Read(s.targetVoltage) &&
           in.Read(s.readByte) && in.Read(s.expectedByte) && in.Read(s.kept14) &&
           in.Read(s.kept15) && in.Read(s.crc) && in.Read(s.calibration1) &&
           in.Read(s.calibration2);
}

} // namespace

uint8_t DeriveParallelFlag(uint16_t hardwareVersion, uint32_t serialNumber) {
    switch (hardwareVersion) {
    case 100:
    case 200:
    case 300:
        return 1;
    case 310:
    case 311:
    case 320:
    case 500:
    case 510:
    case 520:
    case 530:
    case 570:
    case 571:
    case 572:
    case 575:
    case 580:
    case 582:
        return 0;
    default:
        break;
    }
    const bool noSocket = (serialNumber >= 3000 && serialNumber <= 3999) ||
                          (serialNumber >= 30000 && serialNumber <= 39999);
    return noSocket ? 0 : 1;
}

void ParseStatusRecord(std::span<const uint8_t> payload, uint32_t serialNumber,
                       ProgrammerStatus& status) {
    FieldReader in(payload);
    if (!ReadBaseFields(in, status) || !in.Read(status.parallelFlag)) {
        // Derived only from a hardware version of this reply: a short busy reply (state only)
        // leaves the flag the programmer sent earlier as it is.
        if (in.Taken() >= kHardwareVersionField)
            status.parallelFlag = DeriveParallelFlag(status.hardwareVersion, serialNumber);
        return;
    }
    if (!HasExtendedFields(status)) return;
    (void)(in.Read(status.hardwareVariant) && in.ReadCodes(status.supportedAlgorithms) &&
           in.ReadCodes(status.supportedInterfaces));
}

} // namespace vantrel
