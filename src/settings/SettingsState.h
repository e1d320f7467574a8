#pragma once
// The settings file's state, one instance in the App. It is set up by the first settings
// operation of any kind and lives to the end of the process; the text is never read again
// from the disk.
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "settings/SettingsText.h"

namespace vantrel {

struct SettingsState {
    // Every operation holds it for its whole duration, and shows its messages only after it
    // released it: a plain mutex, so that any re-entry shows up at once instead of being hidden.
    std::mutex lock;
    bool initialised = false;
    int index = 0; // from -index; only effective before the first operation
    std::string path;
    SettingsText text;
    // The file exists but could not be read, or is too large: it is never overwritten, so that
    // what it holds is not lost. Changes are kept in memory only.
    bool keepFile = false;
    bool keepFileNoticeShown = false;
    std::atomic<bool> showingMessage{false};
    // A save of many keys in progress (SettingsSave): writes change the text only, and the file
    // is rewritten once at its end; the messages wait for its end, each once.
    int saveDepth = 0;
    bool saveDirty = false;
    std::vector<std::string> saveMessages;
};

} // namespace vantrel
