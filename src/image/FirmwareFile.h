#pragma once
// The programmer's own firmware images: one Motorola S-record file per hardware version in the
// folder Firmware/ below the program directory. Their reader is stricter than the program
// file loader and independent of the document: a bad checksum, a bad digit, a stray line end
// or overlapping records stop it at once, with no question. The bytes go into a 0x30000-byte
// buffer (0xFF where the file defines nothing, its lowest address at offset 0); the smaller
// programmers find the end of an image by the marker 0x87654321 at 0xBFF0, right behind the
// largest image they take.
//
// Like the device file parser, the reader returns its message and leaves showing it to the
// caller.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

class ByteSource;

inline constexpr std::size_t kFirmwareBufferSize = 0x30000;
inline constexpr uint32_t kFirmwareMarkerOffset = 0xBFF0;
inline constexpr uint32_t kFirmwareMarker = 0x87654321;
// Programmers with older firmware cannot take an update from the PC.
inline constexpr uint32_t kFirmwareUpdateFrom = 16000;

// What a load gives: the bytes to send (the firmware length), or the message why not.
struct FirmwareLoad {
    std::vector<uint8_t> image;
    std::string error; // empty on success
};

// The N of FW<N>.mot: the hardware version, but a 5.10 of variant 0 runs the 5.70 firmware.
int FirmwareFileNumber(uint16_t hardwareVersion, uint8_t hardwareVariant);
// The file's path: "Firmware/FW<N>.mot" below `programDirectory` (which ends with '/'); a
// folder or file named so in other letter case counts too, as it does where the images are
// made.
std::string FirmwareFilePath(const std::string& programDirectory, uint16_t hardwareVersion,
                             uint8_t hardwareVariant);
// True when the file can be opened for reading.
bool FirmwareFileReadable(const std::string& path);

// The largest image for this hardware, and whether the end marker follows it.
uint32_t FirmwareSizeLimit(uint16_t hardwareVersion);
bool FirmwareNeedsMarker(uint16_t hardwareVersion);

// Reads the file and checks its size; `image` is empty whenever `error` is set.
FirmwareLoad LoadFirmwareFile(const std::string& path, uint16_t hardwareVersion);
// The same over any byte source (the tests feed literal records).
FirmwareLoad LoadFirmware(ByteSource& source, uint16_t hardwareVersion);

} // namespace vantrel
