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

// The start of the first line that begins with "[section]", or npos. A line begins at the
// start of the text and behind a CR or LF. Searched as a string rather than line by line: every
// key read and written looks its section up in a text of up to 30 KB.
std::size_t FindHeader(const std::string& t, std::string_view section) {
    std::string header = "[";
    header += section;
    header += ']';
    for (std::size_t at = t.find(header); at != std::string::npos; at = t.find(header, at + 1))
        if (at == 0 || IsLineEnd(t[at - 1])) return at;
    return std::string::npos;
}

struct KeyLine {
    std::size_t lineStart;
    std::size_t valueStart;
};

// Where the section whose body starts at `body` ends: at the next line that begins with "[".
std::size_t SectionEnd(const std::string& t, std::size_t body) {
    if (body < t.size() && t[body] == '[') return body;
    for (std::size_t at = t.find('[', body); at != std::string::npos; at = t.find('[', at + 1))
        if (IsLineEnd(t[at - 1])) return at;
    return t.size();
}

// The key's line in the section whose header line starts at `header`: the first line that
// holds, behind blanks, the key and then a blank or "=". The key is searched as a string, as
// the header is.
std::optional<KeyLine> FindKeyLineBehind(const std::string& t, std::size_t header,
                                         std::string_view key) {
    const std::size_t body = NextLine(t, header);
    const std::size_t end = SectionEnd(t, body);
    for (std::size_t at = t.find(key, body); at < end; at = t.find(key, at + 1)) {
        std::size_t line = at;
        while (line > body && IsBlank(t[line - 1]))
            --line;
        if (line > body && !IsLineEnd(t[line - 1])) continue; // not at the start of its line
        const std::size_t behind = at + key.size();
        if (behind < t.size() && (IsBlank(t[behind]) || t[behind] == '='))
            return KeyLine{line, behind};
    }
    return std::nullopt;
}

std::optional<KeyLine> FindKeyLine(const std::string& t, std::string_view section,
                                   std::string_view key) {
    if (section.empty() || key.empty()) return std::nullopt;
    std::size_t header = FindHeader(t, section);
    if (header == std::string::npos) return std::nullopt;
    return FindKeyLineBehind(t, header, key);
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

// The text is changed in place, once the new length is known to fit: a save writes about a
// hundred keys, each into a text of up to 30 KB.
bool SettingsText::WriteLine(std::string_view section, std::string_view key,
                             std::string_view line) {
    if (section.empty() || key.empty()) return false;
    const std::size_t header = FindHeader(text_, section);
    if (header == std::string::npos) {
        // A new section goes on a line of its own at the end.
        const bool needsLineEnd = !text_.empty() && !IsLineEnd(text_.back());
        const std::size_t added = (needsLineEnd ? 2 : 0) + section.size() + 4 + line.size();
        if (text_.size() + added > kSettingsTextMax) return false;
        if (needsLineEnd) text_ += "\r\n";
        text_ += "[";
        text_ += section;
        text_ += "]\r\n";
        text_ += line;
        return true;
    }
    // The old line lies behind the header line, which therefore keeps its place without it.
    // With an old line the header line has a line end; without one it may be the last line,
    // without a line end.
    const std::optional<KeyLine> old = FindKeyLineBehind(text_, header, key);
    const std::size_t oldLength = old ? PastLineEnd(text_, old->lineStart) - old->lineStart : 0;
    const bool needsLineEnd =
        !old && PastLineEnd(text_, header) == text_.size() && !IsLineEnd(text_.back());
    if (text_.size() - oldLength + (needsLineEnd ? 2 : 0) + line.size() > kSettingsTextMax)
        return false;
    if (old) text_.erase(old->lineStart, oldLength);
    if (needsLineEnd) text_ += "\r\n";
    // Taken after the erase: a lone CR ending the header line and an LF that followed the old
    // line are one line end now.
    const std::size_t body = PastLineEnd(text_, header);
    text_.insert(body, line);
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
