#include "settings/SettingsText.h"

#include <cstdint>

namespace vantrel {
namespace {

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The start of the next line: past the rest of this line and the run of CR and LF behind it.
std::size_t NextLine(const std::string& t, std::size_t pos) {
    while (pos < t.size() && !IsLineEnd(t[pos]))
        ++pos;
    while (pos < t.size() && IsLineEnd(t[pos]))
        ++pos;
    return pos;
}

// Past the rest of this line and its one line end (CR LF, LF or CR); blank lines behind it
// belong to the text that follows.
std::size_t PastLineEnd(const std::string& t, std::size_t pos) {
    while (pos < t.size() && !IsLineEnd(t[pos]))
        ++pos;
    if (pos < t.size() && t[pos] == '\r') {
        ++pos;
        if (pos < t.size() && t[pos] == '\n') ++pos;
    } else if (pos < t.size() && t[pos] == '\n') {
        ++pos;
    }
    return pos;
}

// The header line's start of `section`, or npos.
std::size_t FindHeader(const std::string& t, std::string_view section) {
    for (std::size_t line = 0; line < t.size(); line = NextLine(t, line)) {
        if (t[line] != '[') continue;
        std::size_t name = line + 1;
        if (t.compare(name, section.size(), section) == 0 && name + section.size() < t.size() &&
            t[name + section.size()] == ']')
            return line;
    }
    return std::string::npos;
}

struct KeyLine {
    std::size_t lineStart;
    std::size_t valueStart;
};

std::optional<KeyLine> FindKeyLine(const std::string& t, std::string_view section,
                                   std::string_view key) {
    if (section.empty() || key.empty()) return std::nullopt;
    std::size_t header = FindHeader(t, section);
    if (header == std::string::npos) return std::nullopt;
    for (std::size_t line = NextLine(t, header); line < t.size() && t[line] != '[';
         line = NextLine(t, line)) {
        std::size_t p = line;
        while (p < t.size() && IsBlank(t[p]))
            ++p;
        if (t.compare(p, key.size(), key) != 0) continue;
        std::size_t behind = p + key.size();
        if (behind < t.size() && (IsBlank(t[behind]) || t[behind] == '='))
            return KeyLine{line, behind};
    }
    return std::nullopt;
}

} // namespace

bool SettingsText::Assign(std::string_view text) {
    if (text.size() > kSettingsTextMax) return false;
    text_.assign(text);
    return true;
}

std::optional<std::size_t> SettingsText::FindValue(std::string_view section,
                                                   std::string_view key) const {
    auto found = FindKeyLine(text_, section, key);
    if (!found) return std::nullopt;
    return found->valueStart;
}

bool SettingsText::WriteLine(std::string_view section, std::string_view key,
                             std::string_view line) {
    if (section.empty() || key.empty()) return false;
    std::string t = text_;
    if (auto old = FindKeyLine(t, section, key))
        t.erase(old->lineStart, PastLineEnd(t, old->lineStart) - old->lineStart);

    std::size_t body;
    std::size_t header = FindHeader(t, section);
    if (header == std::string::npos) {
        // A new section goes on a line of its own at the end.
        if (!t.empty() && !IsLineEnd(t.back())) t += "\r\n";
        t += "[";
        t += section;
        t += "]\r\n";
        body = t.size();
    } else {
        body = PastLineEnd(t, header);
        if (body == t.size() && !IsLineEnd(t.back())) {
            t += "\r\n"; // the header was the last line and had no line end
            body = t.size();
        }
    }
    t.insert(body, line);
    if (t.size() > kSettingsTextMax) return false;
    text_ = std::move(t);
    return true;
}

std::string IntLine(std::string_view key, int32_t value) {
    std::string line(key);
    line += " = ";
    line += std::to_string(value);
    line += "\r\n";
    return line;
}

std::string StringLine(std::string_view key, std::string_view text) {
    std::size_t end = text.find_first_of("\"\r\n");
    if (end != std::string_view::npos) text = text.substr(0, end);
    std::string line(key);
    line += "=\"";
    line += text;
    line += "\"\r\n";
    return line;
}

} // namespace vantrel
