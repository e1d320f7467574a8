#include "dialogs/ProgramFileDialogs.h"

namespace vantrel {

const std::vector<FileFilter>& OpenFileFilters() {
    static const std::vector<FileFilter> filters = {
        {"Target program files (*.hex;*.mot;*.s*)", "*.hex;*.mot;*.s*"},
        {"File in binary form (*.*)", "*.*"},
    };
    return filters;
}

const std::vector<FileFilter>& SaveFileFilters() {
    static const std::vector<FileFilter> filters = {
        {"Motorola S file (*.mot)", "*.mot"},
        {"Intel Hex file (*.hex)", "*.hex"},
        {"Binary file (*.bin)", "*.bin"},
        {"ANSI \"C\" file (*.c)", "*.c"},
    };
    return filters;
}

std::string NameForSaveFilter(const std::string& name, int filterIndex) {
    if (name.empty()) return name; // nothing typed yet: nothing to name
    const auto& filters = SaveFileFilters();
    if (filterIndex < 1 || filterIndex > static_cast<int>(filters.size())) filterIndex = 1;
    std::string extension = filters[static_cast<std::size_t>(filterIndex - 1)].pattern.substr(2);
    std::size_t base = name.find_last_of('/');
    base = base == std::string::npos ? 0 : base + 1;
    std::size_t dot = name.find('.', base);
    return name.substr(0, dot) + "." + extension;
}

} // namespace vantrel
