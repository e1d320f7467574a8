#pragma once
// Where the document meets the device selection: the fill byte, the program ranges and the
// span of the selected banks as the document uses them, and the two device-dependent
// questions about the image (its CRC over the program ranges, whether it fits the device).
// Everything in image/ reads the device selection only through here.
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
// None when no bank is selected.
std::optional<AddressRange> SelectedBanksSpan(const App& app);

// The ranges the image CRC covers: the program ranges, and the additional range when it is
// selected. The programmer gets the additional range as one more bank and takes its CRC over
// every bank it got; leaving the range out here would make every comparison of the two CRCs
// fail while an additional range is selected.
std::vector<AddressRange> ImageCrcRanges(const App& app);
// The image CRC over those ranges, cached by the document until the image, the device, the
// banks, the fill byte or the external area change. 0 (and not cached) when the selected banks
// hold no byte.
uint32_t GetImageCrc(App& app);
// True when every area lies wholly inside one program range (and for an empty image).
bool AreasInsideDevice(const App& app);

} // namespace vantrel
