#pragma once
// Reading and writing single keys of the settings file. Every operation works on the text in
// memory; every write rewrites the whole file from it (within a SettingsSave, once at its end). The
// first operation of any kind finds the file (see SettingsPath.h) and reads it. Failures are shown
// as messages without an error code (a message raised while another settings message is shown is
// dropped); the caller gets the default or goes on with the text in memory.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vantrel {

struct SettingsFile;

inline constexpr const char* kSettingsSection = "Settings";

// The key's value, or `defaultValue` when the section or key is missing or the value is
// malformed (a malformed value also shows the reader's message with the key and the file).
int32_t INI_ReadInt(SettingsFile& settings, const char* section, const char* key,
                    int32_t defaultValue);
// 0 and the quoted text in `buffer` (at most size - 1 characters); 1 when the key is missing or
// malformed or an argument is null or zero (the buffer then stays as it was).
int INI_ReadString(SettingsFile& settings, const char* section, const char* key, char* buffer,
                   std::size_t size);
// Replace or add the key and rewrite the file. They return 0; a failed rewrite is reported.
int INI_WriteInt(SettingsFile& settings, const char* section, const char* key, int32_t value);
int INI_WriteString(SettingsFile& settings, const char* section, const char* key, const char* text);
// Selects the settings file with `number` appended to its name; only before the first
// operation.
void INI_SetIndex(SettingsFile& settings, int number);

// The quoted text of a key (at most `maxLength` characters), without a message of the reader's
// own: for callers that explain a malformed value in their own words.
enum class KeyText { Found, Missing, Malformed };
KeyText ReadKeyText(SettingsFile& settings, const char* section, const char* key, std::string& text,
                    std::size_t maxLength);

// A save of many keys (WriteSettings): while it lives, INI_WriteInt and INI_WriteString change
// the text only, and the file is rewritten once when it ends; each failure message is shown
// once, at its end. Every write outside it
// rewrites the file at once.
class SettingsSave {
  public:
    explicit SettingsSave(SettingsFile& settings);
    ~SettingsSave();
    SettingsSave(const SettingsSave&) = delete;
    SettingsSave& operator=(const SettingsSave&) = delete;

  private:
    SettingsFile& settings_;
};

// The full path of the settings file (set up on first use, like any operation).
std::string INI_SettingsPath(SettingsFile& settings);

} // namespace vantrel
