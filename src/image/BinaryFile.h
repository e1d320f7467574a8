#pragma once
// Plain binary program files: read to consecutive addresses from 0, written as every address
// of a range with the fill byte in the gaps.
#include <cstdint>

namespace vantrel {

class CHEXDoc;
struct LoadSeams;
class ByteSource;
class MemoryImage;
class OutputSink;

// Adds the file's bytes at 0 to size - 1 (the file type stays). There is no format to get
// wrong; a block the image refuses (overlap, past 4 GiB) fails the load like a text file:
// the image is cleared and error 219 names the file offset. An overlap asks the seams' question
// as a text file does.
bool LoadBinaryFile(const LoadSeams& seams, CHEXDoc& doc, ByteSource& source);

// Every address from first to last inclusive.
void WriteBinaryRange(const MemoryImage& image, uint64_t first, uint64_t last, uint8_t fill,
                      OutputSink& out);

} // namespace vantrel
