#pragma once
// The texts of the About box.
#include <string>

namespace vantrel {

struct AboutBox {
    std::string title = "About Vantrel.exe";
    std::string version;    // "Vantrel V2.00x"
    std::string buildStamp; // "Compile time: 11:13:03 on Jan 21 2014"
    std::string description =
        "This program has been designed to work with a Programming device for "
        "microcontrollers with built-in FLASH.";
};

AboutBox MakeAboutBox();

} // namespace vantrel
