#pragma once
// The export of a range of the image as an ANSI C array: a header comment, then
// "unsigned char ab<name>[0x<size>]" with 16 bytes a line. Export only.
#include <cstdint>
#include <string>

namespace vantrel {

class MemoryImage;
class OutputSink;

// The array name: the file name without its directory, cut before its first ".", with every
// blank removed ("dir/my prog.c" -> "myprog").
std::string CArrayName(const std::string& path);

void WriteCArrayFile(const MemoryImage& image, uint64_t first, uint64_t last, uint8_t fill,
                     const std::string& arrayName, OutputSink& out);

} // namespace vantrel
