#pragma once
// What the program file readers need besides the document and the bytes: where their errors
// go, how they ask the user, and the overlap question. The caller (the document commands)
// supplies them; the readers know nothing of the application.
#include <cstdint>
#include <functional>

namespace vantrel {

class CHEXDoc;
class Reporter;
class Ui;

struct LoadSeams {
    Reporter& reporter;        // error 219 and the batch's checksum notice
    Ui& ui;                    // the S-record checksum question outside a batch
    bool batchRunning = false; // a batch run: a bad checksum is reported, not asked
    // "Areas overlap": true to overwrite. Asked at most once per load (a No fails the load,
    // a Yes holds for the rest of it); none answers No.
    std::function<bool()> askOverwrite;
};

// Adds a block of the file to the document. While the document's overwrite on overlap is
// off, the first overlapping block asks the question and the answer becomes that flag.
// Returns null, or the load error text when the block was refused.
const char* AddLoadedData(CHEXDoc& doc, const LoadSeams& seams, uint64_t address, uint32_t length,
                          const uint8_t* bytes);

} // namespace vantrel
