#pragma once
// Intel HEX lines: the record reader of the text loader and the writer of Save.
namespace vantrel {

class TextLoader;
class MemoryImage;
class OutputSink;

// Reads one record line. Data goes to segment base + linear base + the record's address,
// not wrapped within 64 KiB; types 02 and 04 (and FF like 04) set the two bases.
void ReadIntelHexLine(TextLoader& loader);

// Data records of at most 32 bytes, never across two areas, with a type 02 (below 1 MiB) or
// 04 record whenever the data leaves the 0xFF20-byte window of the last one, then
// :00000001FF.
void WriteIntelHexFile(const MemoryImage& image, OutputSink& out);

} // namespace vantrel
