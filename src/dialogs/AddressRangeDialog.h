#pragma once
// What the address range dialog ("Select address range") and the relocation offset dialog
// decide, without a toolkit: how their hex fields are read and when OK may close them.
// A field reads as an optional "-" followed by hexadecimal digits of either case; an empty
// field reads as 0. Values are 32-bit: "-10" is 0xFFFFFFF0, and a value that does not fit in
// 32 bits is refused like any other bad text (it would silently name another address).
#include <cstdint>
#include <optional>
#include <string>

#include "image/HexDoc.h"

namespace vantrel {

class Reporter;
class Ui;

std::optional<uint32_t> ReadDialogHex(const std::string& text);

// The largest span (end - start) the range dialog accepts.
inline constexpr uint32_t kMaxRangeSpan = 0x1000000;

// OK of the range dialog: reports error 211 ("Not a hex value", "Start address has to be <=
// End address !", "This file is too big !!! ") and returns false, so the dialog stays open;
// else stores the range and returns true.
bool AcceptAddressRange(Reporter& reporter, const std::string& start, const std::string& end,
                        AddressRange& range);

// Shows the dialog with `range` as its fields; true on OK with the new range in `range`,
// false on Cancel with `range` unchanged.
bool RunAddressRangeDialog(Ui& ui, Reporter& reporter, AddressRange& range);

} // namespace vantrel
