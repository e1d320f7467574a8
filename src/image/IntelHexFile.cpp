#include "image/IntelHexFile.h"

#include <algorithm>

#include "image/FileIo.h"
#include "image/HexDoc.h"
#include "image/HexText.h"
#include "image/TextLoader.h"

namespace vantrel {
namespace {

// One record line: count, address (high first), type, data, checksum, CR LF.
void WriteRecord(OutputSink& out, uint8_t type, uint16_t address, const uint8_t* data, int n) {
    char line[1 + 8 + 64 + 2 + 2];
    char* p = line;
    *p++ = ':';
    auto count = static_cast<uint8_t>(n);
    auto high = static_cast<uint8_t>(address >> 8);
    auto low = static_cast<uint8_t>(address);
    uint8_t sum = static_cast<uint8_t>(count + high + low + type);
    p = PutHexByte(p, count);
    p = PutHexByte(p, high);
    p = PutHexByte(p, low);
    p = PutHexByte(p, type);
    for (int i = 0; i < n; ++i) {
        sum = static_cast<uint8_t>(sum + data[i]);
        p = PutHexByte(p, data[i]);
    }
    p = PutHexByte(p, static_cast<uint8_t>(0u - sum));
    *p++ = '\r';
    *p++ = '\n';
    out.Write(line, static_cast<std::size_t>(p - line));
}

void WriteAddressRecord(OutputSink& out, uint8_t type, uint16_t value) {
    const uint8_t data[2] = {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
    WriteRecord(out, type, 0, data, 2);
}

} // namespace

void ReadIntelHexLine(TextLoader& loader) {
    loader.checksum = 0;
    loader.Expect(':');
    uint8_t count = loader.ReadHexByte();
    uint8_t high = loader.ReadHexByte();
    uint8_t low = loader.ReadHexByte();
    uint8_t type = loader.ReadHexByte();
    uint8_t data[256];
    for (int i = 0; i < count; ++i)
        data[i] = loader.ReadHexByte();
    loader.ReadHexByte(); // the checksum
    if (loader.Failed()) return;
    if (loader.checksum != 0) {
        loader.SetError("CheckSum error !");
        return;
    }
    uint32_t address = static_cast<uint32_t>(high) << 8 | low;
    switch (type) {
    case 0x00:
        // Addresses are 32 bits: base plus offset wraps there. Only a record whose own bytes
        // run past 0xFFFFFFFF is refused (by the image).
        loader.AddData(static_cast<uint32_t>(loader.currentBase + address), count, data);
        if (loader.Failed()) return;
        break;
    case 0x02:
    case 0x04:
    case 0xFF: {
        // Ours: an address record needs its two bytes (else it would take stale ones).
        if (count != 2) {
            loader.SetError("Address record needs 2 data bytes !");
            return;
        }
        uint64_t value = static_cast<uint64_t>(data[0]) << 8 | data[1];
        if (type == 0x02)
            loader.segmentBase = value << 4;
        else
            loader.linearBase = value << 16;
        break;
    }
    case 0x01:
    case 0x03:
    case 0x05:
        break;
    default:
        loader.SetError("Unknown record !");
        return;
    }
    // The two bases add up in the 32-bit address state, which wraps.
    loader.currentBase = static_cast<uint32_t>(loader.segmentBase + loader.linearBase);
}

void WriteIntelHexFile(const MemoryImage& image, OutputSink& out) {
    uint64_t window = 0;
    bool segmentSet = false; // a type 02 record with a non-zero segment was written
    image.ForEachArea([&](uint64_t start, ImageRun run) {
        for (uint64_t done = 0; done < run.length;) {
            auto n = static_cast<int>(std::min<uint64_t>(run.length - done, 32));
            uint64_t address = start + done;
            if (address > window + 0xFF00) {
                if (address < 0x100000) {
                    window = address & ~uint64_t{0xF};
                    WriteAddressRecord(out, 0x02, static_cast<uint16_t>(window >> 4));
                    segmentSet = window != 0;
                } else {
                    // A reader adds both bases, a reader that keeps only the last address
                    // record does not: clear the segment first, so both read the same
                    // addresses.
                    if (segmentSet) WriteAddressRecord(out, 0x02, 0);
                    segmentSet = false;
                    window = address & ~uint64_t{0xFFFF};
                    WriteAddressRecord(out, 0x04, static_cast<uint16_t>(window >> 16));
                }
            }
            WriteRecord(out, 0x00, static_cast<uint16_t>(address - window), run.data + done, n);
            done += static_cast<uint64_t>(n);
        }
    });
    out.Write(":00000001FF\r\n");
}

} // namespace vantrel
