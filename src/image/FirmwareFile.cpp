#include "image/FirmwareFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <span>

#include "base/Hex.h"
#include "base/LittleEndian.h"
#include "base/UtilSnprintf.h"
#include "image/FileIo.h"
#include "image/MemoryImage.h"
#include "platform/RegularFile.h"

namespace vantrel {

namespace {

constexpr std::size_t kWindowSize = 60000;
constexpr std::size_t kRefillBelow = 1000;
constexpr std::size_t kMessageLength = 79; // of an 80-byte message buffer
constexpr uint32_t kSmallLimit = kFirmwareMarkerOffset;
constexpr uint32_t kLargeLimit = kFirmwareBufferSize;

constexpr const char* kUnexpected = "Unexpected character";
constexpr const char* kExpectedHex = "Expected Hex character : 0..9, A..F";

// The strict S-record reader: one message, and reading stops as soon as it is set.
class FirmwareReader {
  public:
    FirmwareReader(ByteSource& source, MemoryImage& image) : source_(source), image_(image) {}

    // The message, "Error in line %d: %s", or empty when the file was read.
    std::string Run() {
        // One byte more than the window: the end of the data reads as a NUL.
        window_.reset(new (std::nothrow) uint8_t[kWindowSize + 1]);
        if (!window_) return Located("malloc Problem");
        Refill();
        if (Peek() != 'S') return Located("Not a mot file");
        for (;;) {
            const int c = Peek();
            if (c == 0 || c == 0x1A) break;
            ReadRecord();
            if (error_) break;
            ReadLineEnd();
            if (error_) break;
        }
        return error_ ? Located(error_) : std::string();
    }

  private:
    std::string Located(const char* text) const {
        return UTIL_format("Error in line %d: %s", {lines_ + 1, text}, kMessageLength + 1);
    }

    void Refill() {
        const std::size_t unread = fill_ - pos_;
        std::memmove(window_.get(), window_.get() + pos_, unread);
        fill_ = unread;
        pos_ = 0;
        while (!done_ && fill_ < kWindowSize) {
            const std::size_t n = source_.Read(window_.get() + fill_, kWindowSize - fill_);
            if (n == 0) done_ = true;
            fill_ += n;
        }
        window_[fill_] = 0;
    }
    int Peek() {
        if (fill_ - pos_ < kRefillBelow && !done_) Refill();
        return window_[pos_];
    }
    void Skip() {
        if (pos_ < fill_) ++pos_;
    }

    uint8_t ReadHexByte() {
        if (error_) return 0;
        const int high = kHexDigitValue[Peek()];
        if (high < 0) return Fail(kExpectedHex);
        Skip();
        const int low = kHexDigitValue[Peek()];
        if (low < 0) return Fail(kExpectedHex);
        Skip();
        return static_cast<uint8_t>(high << 4 | low);
    }
    uint8_t Fail(const char* text) {
        if (!error_) error_ = text;
        return 0;
    }

    void ReadRecord() {
        if (Peek() != 'S') {
            Fail(kUnexpected);
            return;
        }
        Skip();
        const int type = Peek();
        if (type < 0x20 || type >= 0x7F) {
            Fail(kUnexpected);
            return;
        }
        Skip();
        const uint8_t count = ReadHexByte();
        uint8_t bytes[255];
        unsigned sum = count;
        for (unsigned i = 0; i < count; ++i)
            sum += bytes[i] = ReadHexByte();
        if (error_) return;
        if ((sum & 0xFF) != 0xFF) {
            Fail("Checksum error !");
            return;
        }
        if (type < '1' || type > '3') return; // headers, counts and starts carry no data
        const unsigned addressBytes = static_cast<unsigned>(type - '1') + 2;
        if (count <= addressBytes + 1) return;
        uint64_t address = 0;
        for (unsigned i = 0; i < addressBytes; ++i)
            address = address << 8 | bytes[i];
        const unsigned length = count - addressBytes - 1;
        if (address + length > kAddressSpace) {
            Fail("Firmware file has illegal size");
            return;
        }
        if (!image_.Insert(address, bytes + addressBytes, length)) Fail("Areas overlap");
    }

    void ReadLineEnd() {
        const int c = Peek();
        if (c == 0 || c == 0x1A) return;
        if (c != '\r' && c != '\n') {
            Fail("Expected CR or LF");
            return;
        }
        Skip();
        ++lines_;
        if (const int next = Peek(); next == '\r' || next == '\n') Skip();
    }

    ByteSource& source_;
    MemoryImage& image_;
    std::unique_ptr<uint8_t[]> window_;
    std::size_t fill_ = 0;
    std::size_t pos_ = 0;
    bool done_ = false;
    int lines_ = 0;
    const char* error_ = nullptr;
};

// `name` in `folder` in any letter case; empty when there is none.
std::string FindIgnoringCase(const std::string& folder, const std::string& name) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) return {};
    while (const dirent* entry = readdir(dir.get()))
        if (strcasecmp(entry->d_name, name.c_str()) == 0) return folder + entry->d_name;
    return {};
}

} // namespace

int FirmwareFileNumber(uint16_t hardwareVersion, uint8_t hardwareVariant) {
    return hardwareVersion == 510 && hardwareVariant == 0 ? 570 : hardwareVersion;
}

std::string FirmwareFilePath(const std::string& programDirectory, uint16_t hardwareVersion,
                             uint8_t hardwareVariant) {
    const std::string name =
        UTIL_format("FW%d.mot", {FirmwareFileNumber(hardwareVersion, hardwareVariant)});
    const std::string exact = programDirectory + "Firmware/" + name;
    if (access(exact.c_str(), F_OK) == 0) return exact;
    std::string folder = FindIgnoringCase(programDirectory, "Firmware");
    if (!folder.empty()) {
        std::string file = FindIgnoringCase(folder + "/", name);
        if (!file.empty()) return file;
    }
    return exact; // missing: its load says "File not found"
}

bool FirmwareFileReadable(const std::string& path) {
    const RegularFileOpen file = OpenRegularFile(path, O_RDONLY);
    if (file.fd < 0) return false;
    close(file.fd);
    return true;
}

uint32_t FirmwareSizeLimit(uint16_t hardwareVersion) {
    return FirmwareNeedsMarker(hardwareVersion) ? kSmallLimit : kLargeLimit;
}

bool FirmwareNeedsMarker(uint16_t hardwareVersion) {
    return hardwareVersion != 575 && hardwareVersion < 600;
}

FirmwareLoad LoadFirmware(ByteSource& source, uint16_t hardwareVersion) {
    MemoryImage image;
    std::string message = FirmwareReader(source, image).Run();
    if (!message.empty()) return {{}, message};
    if (image.Empty()) return {{}, "Could not read Firmware file"};
    const uint64_t first = image.StartAddress();
    const uint64_t length = image.EndAddress() - first + 1;
    if (length > FirmwareSizeLimit(hardwareVersion)) return {{}, "Firmware file has illegal size"};

    std::vector<uint8_t> buffer(kFirmwareBufferSize, 0xFF);
    image.ReadRange(buffer.data(), first, length, 0xFF);
    std::size_t size = length;
    if (FirmwareNeedsMarker(hardwareVersion)) {
        WriteLittleEndian(std::span(buffer).subspan(kFirmwareMarkerOffset, 4), kFirmwareMarker);
        size += 16;
    }
    buffer.resize(size);
    return {std::move(buffer), {}};
}

FirmwareLoad LoadFirmwareFile(const std::string& path, uint16_t hardwareVersion) {
    const RegularFileOpen file = OpenRegularFile(path, O_RDONLY);
    if (file.fd < 0)
        return {{},
                file.error == ENOENT || file.error == ENOTDIR ? "File not found"
                                                              : "Invalid file handle"};
    FdSource source(file.fd);
    FirmwareLoad load = LoadFirmware(source, hardwareVersion);
    if (load.error.empty() && source.Failed()) load = {{}, "Could not read Firmware file"};
    close(file.fd);
    return load;
}

} // namespace vantrel
