#include "ui/qt/QtUi.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/RelocationDialog.h"
#include "ui/RecentFiles.h"
#include "ui/qt/Latin1.h"
#include "ui/qt/ProgressDialog.h"

namespace vantrel {
namespace {

// Qt separates the patterns of one type with blanks inside the parentheses.
QStringList QtFilters(const std::vector<FileFilter>& filters) {
    QStringList list;
    for (const auto& f : filters) {
        QString shown = Latin1(f.shown);
        shown = shown.left(shown.lastIndexOf('(')).trimmed();
        list << shown + " (" + Latin1(f.pattern).replace(';', ' ') + ")";
    }
    return list;
}

// An edit field that shows what it holds in upper case, right-aligned.
QLineEdit* HexEdit(const std::string& text, QWidget* parent) {
    auto* edit = new QLineEdit(Latin1(text), parent);
    edit->setAlignment(Qt::AlignRight);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& t) {
        int at = edit->cursorPosition();
        edit->setText(t.toUpper());
        edit->setCursorPosition(at);
    });
    return edit;
}

// A modal dialog with OK and Cancel whose OK closes it only when `check` agrees.
bool RunChecked(QDialog& dialog, QLayout* fields, const std::function<bool()>& check) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        if (check()) dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    return dialog.exec() == QDialog::Accepted;
}

QMessageBox::StandardButton ToQt(MsgAnswer answer) {
    switch (answer) {
    case MsgAnswer::Ok:
        return QMessageBox::Ok;
    case MsgAnswer::Cancel:
        return QMessageBox::Cancel;
    case MsgAnswer::Yes:
        return QMessageBox::Yes;
    case MsgAnswer::No:
        return QMessageBox::No;
    case MsgAnswer::Retry:
        return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

// Widgets belong to the GUI thread: other threads reach the window through the main-thread
// queue (WakeMainLoop is the one call they make here).
void AssertGuiThread() {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
}

} // namespace

// Pane 0 stretches; panes 1 and 2 are at least 120 and 240 pixels wide and never narrower
// than the longest text they show in this font.
void QtUi::SetWindow(QWidget* window, QStatusBar* statusBar) {
    window_ = window;
    baseTitle_ = window->windowTitle();
    statusBar_ = statusBar;
    static const char* const kLongest[3] = {
        "Time for last action (sec:ms) 999:999",
        "COM20: 115200 Baud",
        "COM20, Datarate[bytes/sec] 99999(Rx), 99999(Tx)",
    };
    static constexpr int kLeast[3] = {150, 120, 240};
    for (int pane = 0; pane <= 2; ++pane) {
        panes_[pane] = new QLabel(statusBar);
        panes_[pane]->setMinimumWidth(std::max(kLeast[pane], TextWidth(pane, kLongest[pane])));
        if (pane == 0)
            statusBar->addWidget(panes_[pane], 1);
        else
            statusBar->addPermanentWidget(panes_[pane]);
    }
    KeepPanesInWindow();
}

// The window is never narrower than the three panes side by side (a large font makes it wider
// than its 750 pixels rather than laying the panes over each other).
void QtUi::KeepPanesInWindow() {
    if (!window_ || !statusBar_) return;
    const QMargins margins = statusBar_->contentsMargins();
    int needed = margins.left() + margins.right() + 24; // the size grip and the layout's edges
    for (QLabel* pane : panes_)
        needed += pane->minimumWidth() + 8; // the spacing between the panes
    if (window_->minimumWidth() >= needed) return;
    window_->setMinimumWidth(needed);
    if (window_->width() < needed) window_->resize(needed, window_->height());
}

int QtUi::TextWidth(int pane, const QString& text) const {
    const QLabel* label = panes_[pane];
    int margins = label->contentsMargins().left() + label->contentsMargins().right() +
                  2 * label->margin() + label->fontMetrics().averageCharWidth();
    return label->fontMetrics().horizontalAdvance(text) + margins;
}

MsgAnswer QtUi::MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                           MsgIcon icon, MsgAnswer defaultAnswer) {
    AssertGuiThread();
    QMessageBox box(window_);
    box.setWindowTitle(Latin1(caption));
    box.setText(Latin1(text));
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case MsgButtons::Ok:
        set = QMessageBox::Ok;
        break;
    case MsgButtons::OkCancel:
        set = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case MsgButtons::YesNo:
        set = QMessageBox::Yes | QMessageBox::No;
        break;
    case MsgButtons::YesNoCancel:
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    case MsgButtons::RetryCancel:
        set = QMessageBox::Retry | QMessageBox::Cancel;
        break;
    }
    box.setStandardButtons(set);
    box.setDefaultButton(ToQt(defaultAnswer));
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Retry:
        return MsgAnswer::Retry;
    default:
        return MsgAnswer::Ok;
    }
}

void QtUi::SetStatusText(int pane, const std::string& text) {
    AssertGuiThread();
    if (pane < 0 || pane > 2 || !panes_[pane]) return;
    QString shown = Latin1(text);
    // A text longer than foreseen widens its pane rather than being cut.
    int width = TextWidth(pane, shown);
    if (width > panes_[pane]->minimumWidth()) {
        panes_[pane]->setMinimumWidth(width);
        KeepPanesInWindow();
    }
    panes_[pane]->setText(shown);
}

QLabel* QtUi::PaneWidget(int pane) const {
    return pane >= 0 && pane <= 2 ? panes_[pane] : nullptr;
}

void QtUi::PumpMessages() {
    QApplication::processEvents();
}

void QtUi::WakeMainLoop() {
    if (MainThreadQueue* queue = mainQueue_)
        QMetaObject::invokeMethod(
            qApp, [queue] { queue->Drain(); }, Qt::QueuedConnection);
}

void QtUi::PostQuit(int code) {
    QApplication::exit(code);
}

void QtUi::Repaint() {
    AssertGuiThread();
    if (window_) window_->update();
    if (onRepaint) onRepaint();
}

bool QtUi::OpenFileDialog(const std::string& title, const std::vector<FileFilter>& filters,
                          int& filterIndex, std::string& fileName) {
    QFileDialog dialog(window_, Latin1(title), QString(), QString());
    QStringList list = QtFilters(filters);
    dialog.setNameFilters(list);
    dialog.selectNameFilter(list.value(filterIndex < 1 ? 0 : filterIndex - 1));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, true);
    if (!fileName.empty()) dialog.selectFile(Latin1(fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    filterIndex = static_cast<int>(list.indexOf(dialog.selectedNameFilter())) + 1;
    fileName = Bytes(dialog.selectedFiles().front());
    return true;
}

bool QtUi::SaveFileDialog(
    const std::string& title, const std::vector<FileFilter>& filters, int& filterIndex,
    std::string& fileName,
    const std::function<std::string(const std::string&, int)>& nameForFilter) {
    QFileDialog dialog(window_, Latin1(title), QString(), QString());
    dialog.setOption(QFileDialog::DontUseNativeDialog, true); // the name field is ours to change
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList list = QtFilters(filters);
    dialog.setNameFilters(list);
    int index = filterIndex < 1 ? 1 : filterIndex;
    dialog.selectNameFilter(list.value(index - 1));
    auto extension = [&](int i) {
        return Latin1(filters[static_cast<std::size_t>(i - 1)].pattern).mid(2);
    };
    dialog.setDefaultSuffix(extension(index));
    if (!fileName.empty()) dialog.selectFile(Latin1(nameForFilter(fileName, index)));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        int picked = static_cast<int>(list.indexOf(filter)) + 1;
        if (picked < 1) return;
        dialog.setDefaultSuffix(extension(picked));
        if (auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit"))
            edit->setText(Latin1(nameForFilter(Bytes(edit->text()), picked)));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    filterIndex = static_cast<int>(list.indexOf(dialog.selectedNameFilter())) + 1;
    fileName = Bytes(dialog.selectedFiles().front());
    return true;
}

bool QtUi::AddressRangeDialog(
    std::string& start, std::string& end,
    const std::function<bool(const std::string&, const std::string&)>& accept) {
    QDialog dialog(window_);
    dialog.setWindowTitle("Select address range");
    auto* form = new QFormLayout;
    QLineEdit* startEdit = HexEdit(start, &dialog);
    QLineEdit* endEdit = HexEdit(end, &dialog);
    form->addRow("&Start adress", startEdit);
    form->addRow("&End adress", endEdit);
    bool ok = RunChecked(dialog, form,
                         [&] { return accept(Bytes(startEdit->text()), Bytes(endEdit->text())); });
    if (ok) {
        start = Bytes(startEdit->text());
        end = Bytes(endEdit->text());
    }
    return ok;
}

bool QtUi::RelocationDialog(std::string& offset,
                            const std::function<bool(const std::string&)>& accept) {
    QDialog dialog(window_);
    dialog.setWindowTitle("Relocation offset");
    auto* form = new QFormLayout;
    auto* edit = new QLineEdit(Latin1(offset), &dialog);
    form->addRow("Relocation offset (Hex):", edit);
    form->addRow(new QLabel(kRelocationWarning, &dialog));
    bool ok = RunChecked(dialog, form, [&] { return accept(Bytes(edit->text())); });
    if (ok) offset = Bytes(edit->text());
    return ok;
}

void QtUi::SetDocumentTitle(const std::string& title) {
    if (window_) window_->setWindowTitle(Latin1(title) + " - " + baseTitle_);
}

namespace {

constexpr const char* kRecentFileKey = "Recent File List";

QSettings RecentFileSettings() {
    return QSettings("KORVID Instruments", "VANTREL");
}

} // namespace

std::vector<std::string> QtUi::RecentFiles() const {
    if (recentFiles_) return *recentFiles_;
    std::vector<std::string> files;
    for (const QString& file : RecentFileSettings().value(kRecentFileKey).toStringList())
        files.push_back(Bytes(file));
    if (files.size() > kRecentFileCount) files.resize(kRecentFileCount);
    recentFiles_ = files;
    return files;
}

void QtUi::StoreRecentFiles(const std::vector<std::string>& files) {
    recentFiles_ = files;
    QStringList list;
    for (const std::string& file : files)
        list << Latin1(file);
    RecentFileSettings().setValue(kRecentFileKey, list);
}

void QtUi::AddRecentFile(const std::string& path) {
    StoreRecentFiles(WithRecentFile(RecentFiles(), path));
}

void QtUi::RemoveRecentFile(const std::string& path) {
    StoreRecentFiles(WithoutRecentFile(RecentFiles(), path));
}

// Menu items carry their command id as their data.
int QtUi::TargetMenuItemCount() {
    return targetMenu_ ? static_cast<int>(targetMenu_->actions().size()) : 0;
}

namespace {

QAction* FindAction(QMenu* menu, int command) {
    for (QAction* action : menu->actions())
        if (action->data().toInt() == command) return action;
    return nullptr;
}

void InsertBefore(QMenu* menu, int command, const std::string& label, const std::string& statusTip,
                  int beforeCommand) {
    auto* action = new QAction(Latin1(label), menu);
    action->setData(command);
    action->setStatusTip(Latin1(statusTip));
    menu->insertAction(FindAction(menu, beforeCommand), action);
}

void RemoveFrom(QMenu* menu, int command) {
    while (QAction* action = FindAction(menu, command)) {
        menu->removeAction(action);
        action->deleteLater();
    }
}

} // namespace

void QtUi::InsertTargetMenuItem(int command, const std::string& label, const std::string& statusTip,
                                int beforeCommand) {
    AssertGuiThread();
    if (targetMenu_) InsertBefore(targetMenu_, command, label, statusTip, beforeCommand);
}

void QtUi::RemoveTargetMenuItem(int command) {
    AssertGuiThread();
    if (targetMenu_) RemoveFrom(targetMenu_, command);
}

void QtUi::InsertMenuItem(int command, const std::string& label, const std::string& statusTip,
                          int beforeCommand) {
    AssertGuiThread();
    for (QMenu* menu : menus_)
        if (FindAction(menu, beforeCommand))
            InsertBefore(menu, command, label, statusTip, beforeCommand);
}

void QtUi::RemoveMenuItem(int command) {
    AssertGuiThread();
    for (QMenu* menu : menus_)
        RemoveFrom(menu, command);
}

void QtUi::Progress(const ProgressEvent& event) {
    AssertGuiThread();
    using Kind = ProgressEvent::Kind;
    if (event.kind == Kind::Close) {
        if (!progress_) return;
        progress_->hide();
        progress_->deleteLater();
        progress_ = nullptr;
        if (window_) window_->setEnabled(true);
        return;
    }
    if (!progress_) {
        progress_ = new QtProgressDialog(window_);
        if (window_) window_->setEnabled(false);
        progress_->setEnabled(true);
        progress_->show();
    }
    progress_->SetCaption(Latin1(event.caption));
    progress_->SetPosition(event.percent, Latin1(event.text));
}

bool QtUi::ProgressCancelRequested() {
    return progress_ && progress_->CancelPressed();
}

QWidget* QtUi::ProgressWidget() const {
    return progress_;
}

} // namespace vantrel
