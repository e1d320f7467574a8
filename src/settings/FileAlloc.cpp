#include "settings/FileAlloc.h"

#include <new>

#include "base/UtilSnprintf.h"
#include "platform/Ui.h"

namespace vantrel {

std::unique_ptr<char[]> FILE_AllocOrReport(Ui& ui, std::size_t size) {
    std::unique_ptr<char[]> memory(new (std::nothrow) char[size]);
    if (!memory)
        ui.MessageBox(UTIL_format("Failed to allocate 0x%.8X bytes of memory!",
                                  {static_cast<uint32_t>(size)}),
                      "Error", MsgButtons::Ok, MsgIcon::Error, MsgAnswer::Ok);
    return memory;
}

} // namespace vantrel
