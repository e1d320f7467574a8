#pragma once
// The two passcode commands of the document, as far as the device selection decides them:
// which bytes "Copy Passcode into loaded file" writes, and what "Set Passcode from loaded file"
// reads. The document applies the writes with its own SetByte (commands/PasscodeCommands.h); the
// image CRC and the check that the image fits the device are the document's
// (app/DeviceSeam.h).
#include <cstdint>
#include <utility>
#include <vector>

namespace vantrel {

class DeviceSelection;
class ImageView;

// "Copy Passcode into loaded file": the (address, byte) writes to make, ID bytes first, then
// the passcode length at the ID length address; addresses of 0 are left out.
std::vector<std::pair<uint32_t, uint8_t>> PasscodeImageWrites(DeviceSelection& selection);
// "Set Passcode from loaded file": the passcode bytes become the image bytes at the ID byte
// addresses (the fill byte where nothing is loaded); the length is kept.
void SetPasscodeFromImage(DeviceSelection& selection, const ImageView& image);

} // namespace vantrel
