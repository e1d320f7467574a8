#pragma once
// Memory for a file's or a text's contents, or a message box and null when the system has
// none of that size.
#include <cstddef>
#include <memory>

namespace vantrel {

class Ui;

// "Failed to allocate 0x%.8X bytes of memory!" (caption "Error", stop icon) and null when
// `size` bytes cannot be had.
std::unique_ptr<char[]> FILE_AllocOrReport(Ui& ui, std::size_t size);

} // namespace vantrel
