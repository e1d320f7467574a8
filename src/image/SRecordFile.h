#pragma once
// Motorola S-record lines: the record reader of the text loader and the writer of Save.
namespace vantrel {

class TextLoader;
class MemoryImage;
class OutputSink;

// Reads one record line. S1, S2 and S3 carry data; every other type is read and ignored.
// A record whose checksum is wrong is reported (batch) or offered for use (question).
void ReadSRecordLine(TextLoader& loader);

// Records of at most 32 data bytes, never across two areas, S1/S2/S3 by the record's last
// address, then S9030000FC. No S0 header.
void WriteSRecordFile(const MemoryImage& image, OutputSink& out);

} // namespace vantrel
