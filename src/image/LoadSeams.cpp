#include "image/LoadSeams.h"

#include "image/HexDoc.h"

namespace vantrel {

const char* AddLoadedData(CHEXDoc& doc, const LoadSeams& seams, uint64_t address, uint32_t length,
                          const uint8_t* bytes) {
    AddResult result = doc.AddData(address, length, bytes, doc.overwriteOnOverlap);
    if (result == AddResult::Overlaps && !doc.overwriteOnOverlap) {
        // Asked without the image lock: the answer may take a message box.
        doc.overwriteOnOverlap = seams.askOverwrite && seams.askOverwrite();
        if (doc.overwriteOnOverlap) result = doc.AddData(address, length, bytes, true);
    }
    return AddErrorText(result);
}

} // namespace vantrel
