#pragma once
// The device selection's view of the memory image: the image CRC over the program ranges, the
// check that every area of the image lies inside the device, and the two passcode commands.
// They take the image as its runs of defined bytes (ImageView), so the document only has to
// hand over what its run iterator yields and apply the byte writes returned here.
#include <cstdint>
#include <utility>
#include <vector>

namespace vantrel {

struct App;
class ImageView;

// CRC-16/KERMIT over every address of the program ranges, in their order, the fill byte for
// undefined bytes; 0 when the selected banks hold no byte (the CRC is then not valid).
uint32_t DeviceImageCrc(const App& app, const ImageView& image);
bool ImageCrcComputable(const App& app);
// True when every area of the image lies wholly inside one program range; true when empty.
bool AreasInsideDevice(const App& app, const ImageView& image);

// "Copy Passcode into loaded file": the (address, byte) writes to make, ID bytes first, then
// the passcode length at the ID length address; addresses of 0 are left out.
std::vector<std::pair<uint32_t, uint8_t>> PasscodeImageWrites(App& app);
// "Set Passcode from loaded file": the passcode bytes become the image bytes at the ID byte
// addresses (the fill byte where nothing is loaded); the length is kept.
void SetPasscodeFromImage(App& app, const ImageView& image);

} // namespace vantrel
