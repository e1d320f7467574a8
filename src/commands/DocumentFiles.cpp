#include "commands/DocumentFiles.h"

#include <filesystem>

#include "app/App.h"
#include "commands/DocumentCommands.h"

namespace vantrel {
namespace {

constexpr std::size_t kMaxPath = 260;

// The name as the shell hands it over: quotes around it, perhaps a link.
std::string CleanName(const std::string& name) {
    std::string clean = name;
    if (!clean.empty() && clean.front() == '"') {
        clean.erase(0, 1);
        clean = clean.substr(0, clean.find('"'));
    }
    if (clean.size() > kMaxPath) clean.resize(kMaxPath);
    std::error_code error;
    auto resolved = std::filesystem::canonical(clean, error);
    return error ? clean : resolved.string();
}

} // namespace

bool SaveModified(App& app) {
    if (!app.doc.IsModified()) return true;
    std::string title = app.doc.path.empty() ? std::string("Untitled") : app.doc.path;
    switch (app.ui.MessageBox("Save changes to " + title + "?", "VANTREL", MsgButtons::YesNoCancel,
                              MsgIcon::Warning, MsgAnswer::Yes)) {
    case MsgAnswer::No:
        return true;
    case MsgAnswer::Yes:
        OnFileSave(app);
        return !app.doc.IsModified();
    default:
        return false;
    }
}

bool OpenFileByName(App& app, const std::string& name) {
    std::string path = CleanName(name);
    if (!SaveModified(app)) return false;
    app.doc.filterIndex = 1;
    bool opened = OpenDocumentFile(app, path);
    if (opened)
        SetDocumentPath(app, path, true);
    else
        SetLastErrorCode(app, 210);
    app.ui.Repaint();
    return opened;
}

} // namespace vantrel
