#pragma once
// Small text helpers of the option dialogs: how their fields show numbers, and the upper-case
// edits.
#include <cctype>
#include <charconv>
#include <cstdint>
#include <string>

namespace vantrel {

// "%x" as the dialogs show it: lower case, no leading zeros (the program's own formatter
// writes upper case).
inline std::string LowerHex(uint32_t value) {
    char text[9];
    auto end = std::to_chars(text, text + sizeof text, value, 16).ptr;
    return std::string(text, end);
}

// What an edit that forces upper case holds after `text` was typed into it, cut to `limit`.
inline std::string UpperCaseEdit(const std::string& text, std::size_t limit) {
    std::string edit = text.substr(0, limit);
    for (char& c : edit)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return edit;
}

} // namespace vantrel
