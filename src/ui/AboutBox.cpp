#include "ui/AboutBox.h"

#include "base/Version.h"

namespace vantrel {

AboutBox MakeAboutBox() {
    AboutBox box;
    box.version = VersionString();
    box.buildStamp = "Compile time: " + BuildTime() + " on " + BuildDate();
    return box;
}

} // namespace vantrel
