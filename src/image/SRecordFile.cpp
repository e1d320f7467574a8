#include "image/SRecordFile.h"

#include <algorithm>

#include "base/Reporter.h"
#include "image/FileIo.h"
#include "image/HexDoc.h"
#include "image/HexText.h"
#include "image/TextLoader.h"
#include "platform/Ui.h"

namespace vantrel {
namespace {

int AddressLength(int type) {
    switch (type) {
    case 1:
        return 2;
    case 2:
        return 3;
    case 3:
        return 4;
    default:
        return 0; // not a data record
    }
}

// A record with a wrong checksum: used after a notice in a batch run, else the user decides.
bool UseRecordWithBadChecksum(const LoadSeams& seams) {
    if (seams.batchRunning) {
        seams.reporter.Report(0, "Checksum-Error in File");
        return true;
    }
    return seams.ui.MessageBox("Continue and ignore ?", "Checksum error !", MsgButtons::YesNo,
                               MsgIcon::Question, MsgAnswer::Yes) == MsgAnswer::Yes;
}

// One data record of n bytes (at most 32): S1, S2 or S3 by its last address.
void WriteDataRecord(OutputSink& out, uint64_t address, const uint8_t* data, int n) {
    char line[2 + 2 + 8 + 64 + 2 + 2];
    uint64_t last = address + static_cast<uint64_t>(n) - 1;
    int addressLength = last <= 0xFFFF ? 2 : last <= 0xFFFFFF ? 3 : 4;
    char* p = line;
    *p++ = 'S';
    *p++ = static_cast<char>('0' + addressLength - 1);
    auto count = static_cast<uint8_t>(addressLength + n + 1);
    uint8_t sum = count;
    p = PutHexByte(p, count);
    for (int i = addressLength - 1; i >= 0; --i) {
        auto byte = static_cast<uint8_t>(address >> (8 * i));
        sum = static_cast<uint8_t>(sum + byte);
        p = PutHexByte(p, byte);
    }
    for (int i = 0; i < n; ++i) {
        sum = static_cast<uint8_t>(sum + data[i]);
        p = PutHexByte(p, data[i]);
    }
    p = PutHexByte(p, static_cast<uint8_t>(~sum));
    *p++ = '\r';
    *p++ = '\n';
    out.Write(line, static_cast<std::size_t>(p - line));
}

} // namespace

void ReadSRecordLine(TextLoader& loader) {
    loader.checksum = 0;
    loader.Expect('S');
    int type = loader.ReadSRecordType();
    uint8_t count = loader.ReadHexByte();
    uint8_t record[256];
    for (int i = 0; i < count; ++i)
        record[i] = loader.ReadHexByte();
    if (loader.Failed()) return;

    int addressLength = AddressLength(type);
    // Ours: a data record too short to hold its address and checksum is malformed; one that
    // holds them but no data bytes is well-formed and adds nothing.
    if (addressLength != 0 && count < addressLength + 1) {
        loader.SetError("Record too short for its address !");
        return;
    }
    if (loader.checksum != 0xFF && !UseRecordWithBadChecksum(loader.seams)) return;
    if (addressLength == 0) return;

    uint64_t address = 0;
    for (int i = 0; i < addressLength; ++i)
        address = address << 8 | record[i];
    loader.AddData(address, static_cast<uint32_t>(count - addressLength - 1),
                   record + addressLength);
}

void WriteSRecordFile(const MemoryImage& image, OutputSink& out) {
    image.ForEachArea([&out](uint64_t start, ImageRun run) {
        for (uint64_t done = 0; done < run.length; done += 32)
            WriteDataRecord(out, start + done, run.data + done,
                            static_cast<int>(std::min<uint64_t>(run.length - done, 32)));
    });
    out.Write("S9030000FC\r\n");
}

} // namespace vantrel
