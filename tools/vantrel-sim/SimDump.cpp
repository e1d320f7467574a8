#include "SimDump.h"

#include "image/FileIo.h"
#include "image/SRecordFile.h"

namespace vantrel::sim {

MemoryImage TargetOverBanks(const ByteStore& target, const std::vector<Bank>& banks) {
    MemoryImage out;
    for (const Bank& b : banks) {
        std::vector<uint8_t> bytes(b.size);
        target.Read(b.start, bytes.data(), bytes.size(), 0xFF);
        out.Insert(b.start, bytes.data(), bytes.size());
    }
    return out;
}

std::string DumpSRecords(const MemoryImage& image, const std::string& path) {
    OutputFile file;
    if (!file.Open(path)) return path + ": " + file.Error();
    WriteSRecordFile(image, file);
    if (!file.Commit()) return path + ": " + file.Error();
    return {};
}

} // namespace vantrel::sim
