#include "ui/RecentFiles.h"

#include <algorithm>

namespace vantrel {

std::vector<std::string> WithRecentFile(std::vector<std::string> list, const std::string& path) {
    list = WithoutRecentFile(std::move(list), path);
    list.insert(list.begin(), path);
    if (list.size() > kRecentFileCount) list.resize(kRecentFileCount);
    return list;
}

std::vector<std::string> WithoutRecentFile(std::vector<std::string> list, const std::string& path) {
    std::erase(list, path);
    return list;
}

std::string RecentFileMenuText(std::size_t index, const std::string& path) {
    std::string text =
        index + 1 < 10 ? "&" + std::to_string(index + 1) : "1&" + std::to_string((index + 1) % 10);
    text += ' ';
    for (char c : path) {
        if (c == '&') text += '&';
        text += c;
    }
    return text;
}

} // namespace vantrel
