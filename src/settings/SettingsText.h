#pragma once
// The settings file held in memory: sections ("[name]" at the start of a line) of key lines
// ("key = 12" or key="text"). Names and keys are compared exactly, case included. Any run of
// CR and LF ends a line; a section ends at the next line that begins with "[". A written key
// replaces the first line of that key in its section and stands directly behind the section's
// header, so a run of writes leaves the keys in reverse order. Lines and sections the program
// does not know are kept as they are.
//
// The text holds at most kSettingsTextSize - 1 bytes (one byte is the terminator the text is
// read through). A write that would grow it past that is refused and changes nothing.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

inline constexpr std::size_t kSettingsTextSize = 30000;
inline constexpr std::size_t kSettingsTextMax = kSettingsTextSize - 1;

class SettingsText {
  public:
    // False (and nothing changed) when `text` is longer than kSettingsTextMax.
    bool Assign(std::string_view text);
    const std::string& Str() const { return text_; }
    std::size_t Length() const { return text_.size(); }

    // Offset of the first character behind `key` in `section`, where its value ("= ...")
    // starts; nullopt when the section or the key is missing.
    std::optional<std::size_t> FindValue(std::string_view section, std::string_view key) const;
    // The text behind the key, up to the end of the text (NUL-terminated).
    const char* At(std::size_t offset) const { return text_.c_str() + offset; }

    // Removes the key's old line from the section, then inserts `line` (which ends with CR LF)
    // behind the section's header; a missing section is appended at the end. False when the
    // result would be longer than kSettingsTextMax; the text is then unchanged.
    bool WriteLine(std::string_view section, std::string_view key, std::string_view line);

  private:
    std::string text_;
};

// The lines the program writes: "key = value" and key="text", each with CR LF. A text is cut
// at its first double quote, CR or LF, which the file format cannot carry inside a value.
std::string IntLine(std::string_view key, int32_t value);
std::string StringLine(std::string_view key, std::string_view text);

} // namespace vantrel
