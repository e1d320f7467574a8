#include "settings/Ini.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>

#include "base/Reporter.h"
#include "base/TextScanner.h"
#include "settings/FileAlloc.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFileIo.h"
#include "settings/SettingsPath.h"

namespace vantrel {
namespace {

const std::string kQuotedTextMark = "\x01";

// Messages are collected while the lock is held and shown after it was released, so that no
// other thread waits for the settings while a message box is open.
struct Messages {
    std::string first;
    std::string second;
};

void InitLocked(SettingsFile& settings, Messages& messages) {
    SettingsState& s = settings.state;
    if (s.initialised) return;
    s.initialised = true;
    s.path = SettingsPathFor(settings.programDirectory, s.index);
    ReadResult read = ReadSettingsFile(s.path, kSettingsTextMax);
    if (read.outcome == ReadOutcome::Read) {
        s.text.Assign(read.text);
    } else if (read.outcome == ReadOutcome::Failed) {
        s.keepFile = true;
        messages.first = read.message;
    }
}

std::string RewriteLocked(SettingsFile& settings) {
    SettingsState& s = settings.state;
    if (!s.keepFile) return RewriteSettingsFile(s.path, s.text.Str(), settings.writeChecks);
    if (s.keepFileNoticeShown) return {};
    s.keepFileNoticeShown = true;
    return "Could not save file [" + s.path +
           "]\nIt could not be read at start-up and is left as it was; changes are kept until "
           "the program ends.";
}

// While a save of many keys runs, its messages are kept to be shown once at its end.
void KeepForSaveEnd(SettingsState& s, const std::string& message) {
    if (message.empty()) return;
    for (const auto& kept : s.saveMessages)
        if (kept == message) return;
    s.saveMessages.push_back(message);
}

// A malformed value: the reader's text, then which key of which file holds it. A long path is
// cut at its front, so that the file's name stays within the message.
std::string MalformedValueMessage(const std::string& readerText, const char* key,
                                  const std::string& path) {
    std::string head = readerText + "\r\nin key " + key + " of ";
    std::string shown = path;
    if (head.size() + shown.size() > kMessageSize - 1) {
        std::size_t room =
            kMessageSize - 1 > head.size() + 3 ? kMessageSize - 1 - head.size() - 3 : 0;
        shown = "..." + shown.substr(shown.size() - std::min(room, shown.size()));
    }
    return head + shown;
}

void Show(SettingsFile& settings, const std::string& message) {
    if (message.empty()) return;
    SettingsState& s = settings.state;
    if (s.showingMessage.exchange(true)) return; // another settings message is on screen
    settings.reporter.Report(0, message);
    s.showingMessage = false;
}

void Show(SettingsFile& settings, const Messages& messages) {
    Show(settings, messages.first);
    Show(settings, messages.second);
}

bool Usable(const char* section, const char* key) {
    return section && key && *section && *key;
}

void WriteLine(SettingsFile& settings, const char* section, const char* key,
               const std::string& line) {
    Messages messages;
    {
        SettingsState& s = settings.state;
        std::lock_guard guard(s.lock);
        InitLocked(settings, messages);
        if (!s.text.WriteLine(section, key, line))
            messages.second = "Could not save file [" + s.path +
                              "]\nThe settings would grow larger than " +
                              std::to_string(kSettingsTextMax) + " bytes; the change was not made!";
        else if (s.saveDepth > 0)
            s.saveDirty = true; // the file is rewritten once, when the save ends
        else
            messages.second = RewriteLocked(settings);
        if (s.saveDepth > 0) {
            KeepForSaveEnd(s, messages.first);
            KeepForSaveEnd(s, messages.second);
            return;
        }
    }
    Show(settings, messages);
}

} // namespace

SettingsSave::SettingsSave(SettingsFile& settings) : settings_(settings) {
    SettingsState& s = settings_.state;
    std::lock_guard guard(s.lock);
    ++s.saveDepth; // the writes of the save change the text; the destructor writes the file
}

SettingsSave::~SettingsSave() {
    SettingsState& s = settings_.state;
    std::vector<std::string> messages;
    {
        std::lock_guard guard(s.lock);
        if (--s.saveDepth == 0) {
            if (s.saveDirty) KeepForSaveEnd(s, RewriteLocked(settings_));
            s.saveDirty = false;
            messages.swap(s.saveMessages);
        }
    }
    for (const auto& message : messages)
        Show(settings_, message);
}

int32_t INI_ReadInt(SettingsFile& settings, const char* section, const char* key,
                    int32_t defaultValue) {
    Messages messages;
    int32_t value = defaultValue;
    {
        SettingsState& s = settings.state;
        std::lock_guard guard(s.lock);
        InitLocked(settings, messages);
        if (Usable(section, key)) {
            if (auto offset = s.text.FindValue(section, key)) {
                const char* cursor = s.text.At(*offset);
                ScanError error;
                int32_t number = 0;
                SkipBlanks(cursor);
                ExpectChar(error, cursor, '=');
                SkipBlanks(cursor);
                // Addresses from 0x80000000 on are written as negative numbers; the reader
                // checks its bounds before the sign, which only the lowest of them fails.
                if (std::strncmp(cursor, "-2147483648", 11) == 0 &&
                    !std::isdigit(static_cast<unsigned char>(cursor[11])))
                    number = std::numeric_limits<int32_t>::min();
                else
                    ReadDecimal(error, cursor, number, 0, std::numeric_limits<int32_t>::max());
                if (error.Failed())
                    messages.second = MalformedValueMessage(error.Text(), key, s.path);
                else
                    value = number;
            }
        }
    }
    Show(settings, messages);
    return value;
}

int INI_ReadString(SettingsFile& settings, const char* section, const char* key, char* buffer,
                   std::size_t size) {
    if (!Usable(section, key) || !buffer || size == 0) return 1;
    Messages messages;
    int result = 1;
    {
        SettingsState& s = settings.state;
        std::lock_guard guard(s.lock);
        InitLocked(settings, messages);
        if (auto offset = s.text.FindValue(section, key)) {
            auto temp = FILE_AllocOrReport(settings.ui, size);
            if (temp) {
                const char* cursor = s.text.At(*offset);
                ScanError error;
                SkipBlanks(cursor);
                ExpectChar(error, cursor, '=');
                ReadQuoted(error, cursor, temp.get(), size);
                if (error.Failed()) {
                    // The quoted-text reader fails with a mark of one byte and no words.
                    std::string text = error.Text() == kQuotedTextMark
                                           ? "Expecting a text in double quotes"
                                           : error.Text();
                    messages.second = MalformedValueMessage(text, key, s.path);
                } else {
                    std::memcpy(buffer, temp.get(), std::strlen(temp.get()) + 1);
                    result = 0;
                }
            }
        }
    }
    Show(settings, messages);
    return result;
}

int INI_WriteInt(SettingsFile& settings, const char* section, const char* key, int32_t value) {
    if (Usable(section, key)) WriteLine(settings, section, key, IntLine(key, value));
    return 0;
}

int INI_WriteString(SettingsFile& settings, const char* section, const char* key,
                    const char* text) {
    if (Usable(section, key)) WriteLine(settings, section, key, StringLine(key, text ? text : ""));
    return 0;
}

void INI_SetIndex(SettingsFile& settings, int number) {
    SettingsState& s = settings.state;
    std::lock_guard guard(s.lock);
    if (!s.initialised) s.index = number;
}

KeyText ReadKeyText(SettingsFile& settings, const char* section, const char* key, std::string& text,
                    std::size_t maxLength) {
    if (!Usable(section, key)) return KeyText::Missing;
    Messages messages;
    KeyText result = KeyText::Missing;
    {
        SettingsState& s = settings.state;
        std::lock_guard guard(s.lock);
        InitLocked(settings, messages);
        if (auto offset = s.text.FindValue(section, key)) {
            std::string buffer(maxLength + 1, '\0');
            const char* cursor = s.text.At(*offset);
            ScanError error;
            SkipBlanks(cursor);
            ExpectChar(error, cursor, '=');
            ReadQuoted(error, cursor, buffer.data(), buffer.size());
            result = error.Failed() ? KeyText::Malformed : KeyText::Found;
            if (result == KeyText::Found) text = buffer.c_str();
        }
    }
    Show(settings, messages);
    return result;
}

std::string INI_SettingsPath(SettingsFile& settings) {
    Messages messages;
    std::string path;
    {
        SettingsState& s = settings.state;
        std::lock_guard guard(s.lock);
        InitLocked(settings, messages);
        path = s.path;
    }
    Show(settings, messages);
    return path;
}

} // namespace vantrel
