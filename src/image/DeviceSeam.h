#pragma once
// What the document needs of the device selection: the fill byte, the program ranges and the
// span of the selected banks. Until the device selection is built these give the values of
// a program without a device (fill byte 0xFF, no program ranges, no banks); the device
// selection fills in their bodies, and everything in image/ reads them only through here.
#include <cstdint>
#include <optional>
#include <vector>

#include "image/HexDoc.h"

namespace vantrel {

struct App;

// The FillByte setting: stands for every undefined address in exports and the CRC.
uint8_t ImageFillByte(const App& app);
// The program ranges of the device selection in their list order (empty: no bank selected).
std::vector<AddressRange> ImageProgramRanges(const App& app);
// Lowest start and highest end of the selected banks: the binary export's default range.
std::optional<AddressRange> SelectedBanksSpan(const App& app);

// The image CRC over the selection's program ranges; 0 when no bank is selected.
uint32_t GetImageCrc(App& app);
// True when every area lies wholly inside one program range (and for an empty image).
bool AreasInsideDevice(App& app);

} // namespace vantrel
