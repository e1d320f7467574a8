#pragma once
// What the relocation offset dialog decides: its field is read like the address range
// dialog's (an optional "-" and hex digits, 32 bits); a bad text reports error 211
// "Not a hex value" and the dialog stays open.
#include <cstdint>
#include <string>

namespace vantrel {

class Reporter;
class Ui;

inline constexpr const char* kRelocationWarning =
    "Warning:\nYou are about to relocate the loaded file.\nThis might result in a failure to "
    "execute the target program.";

bool AcceptRelocationOffset(Reporter& reporter, const std::string& text, int32_t& offset);

// Shows the dialog (empty field); true on OK with the signed offset.
bool RunRelocationDialog(Ui& ui, Reporter& reporter, int32_t& offset);

} // namespace vantrel
