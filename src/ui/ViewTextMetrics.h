#pragma once
// The measured text extents the image views lay themselves out by. The widgets measure them
// with the window's font; the tests pass fixed numbers, so every layout value can be checked
// without a display.
namespace vantrel {

struct ViewTextMetrics {
    int zeroWidth = 0;  // "0"
    int zeroHeight = 0; // "0": the height of a line of text
    int eWidth = 0;     // "E": one hex digit in the dump
    int atWidth = 0;    // "@" (0x40): one character of the dump's ASCII column
    // The list view's columns.
    int fourZerosWidth = 0;  // "0000"
    int sixZerosWidth = 0;   // "000000"
    int eightZerosWidth = 0; // "00000000"
    int xxWidth = 0;         // "XX"
    int mWidth = 0;          // "M"
    int xxxxHeight = 0;      // "XXXX": a list row
};

} // namespace vantrel
