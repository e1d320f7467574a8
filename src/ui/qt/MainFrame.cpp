#include "ui/qt/MainFrame.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <algorithm>

#include "app/App.h"
#include "base/Version.h"
#include "commands/DocumentCommands.h"
#include "commands/DocumentFiles.h"
#include "dialogs/DeviceDialogFlow.h"
#include "dialogs/PasscodeDialog.h"
#include "ops/Firmware.h"
#include "ops/Operations.h"
#include "ui/MainWindow.h"
#include "ui/MenuTable.h"
#include "ui/RecentFiles.h"
#include "ui/qt/AboutDialog.h"
#include "ui/qt/Latin1.h"
#include "ui/qt/QtUi.h"
#include "ui/qt/dialogs/DeviceDialogs.h"
#include "ui/qt/dialogs/OptionDialogs.h"
#include "ui/qt/views/DumpView.h"
#include "ui/qt/views/ListView.h"
#include "ui/qt/views/SummaryView.h"

namespace vantrel {
namespace {

constexpr const char* kManual = "docs/manual.md";

bool IsRecentFileCommand(int command) {
    return command >= cmd::kRecentFile && command <= kRecentFileLast;
}

// The key of a command, if the window has one.
const char* KeyOf(int command) {
    for (const Accelerator& key : MainAccelerators())
        if (key.command == command) return key.key;
    return nullptr;
}

// The first local file among dropped URLs.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

} // namespace

MainFrame::MainFrame(App& app, QtUi& ui) : app_(app), ui_(ui), lowerMode_(cmd::kListMode) {
    makeLowerView = [this](int command, QWidget* parent) { return MakeImageView(command, parent); };
    openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    setWindowTitle(QString::fromLatin1(VersionString().c_str()));
    resize(750, 560);
    move(0, 0);
    setAcceptDrops(true);
    ui.SetWindow(this, statusBar());
    ui.SetMainQueue(&app.mainQueue);
    ui.SetStatusText(0, "Ready");
    ui.onRepaint = [this] { emit documentChanged(); };

    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setChildrenCollapsible(false);
    summary_ = new SummaryView(app, splitter_);
    summary_->setMinimumSize(600, 10);
    splitter_->addWidget(summary_);
    splitter_->setStretchFactor(0, 0); // a taller window gives the room to the lower view
    setCentralWidget(splitter_);

    BuildMenus(ui);
    AddKeys();
    RegisterWindowCommands();
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (app_.mainWindow) app_.mainWindow->OnTimer();
        UpdateCommandStates();
    });
    timer_.start(static_cast<int>(kTimerPeriodMs));
}

// The menu bar from the menu table; "Recent File" is the submenu of the recent files. Every
// item carries its command id as its data; the items the Target and Options menus get at run
// time do the same and run through the same handler.
void MainFrame::BuildMenus(QtUi& ui) {
    for (const MenuPopup& popup : MainMenu()) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(popup.text));
        for (const MenuItem& item : popup.items) {
            QAction* action = nullptr;
            if (item.command == cmd::kRecentFile) {
                recentMenu_ = menu->addMenu(QString::fromLatin1(item.text));
                action = recentMenu_->menuAction();
                connect(recentMenu_, &QMenu::aboutToShow, this, [this] { BuildRecentFileMenu(); });
                connect(recentMenu_, &QMenu::triggered, this,
                        [this](QAction* entry) { RunCommand(entry->data().toInt()); });
            } else {
                action = menu->addAction(QString::fromLatin1(item.text));
                if (const char* key = KeyOf(item.command)) action->setShortcut(QKeySequence(key));
            }
            action->setData(item.command);
        }
        ui.AddMenu(menu);
        if (popup.items.data() == MainMenu()[3].items.data()) ui.SetTargetMenu(menu);
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommandStates(); });
        connect(menu, &QMenu::triggered, this, [this](QAction* action) {
            if (action->menu() || (recentMenu_ && recentMenu_->actions().contains(action)))
                return; // the recent-file submenu runs its own entries
            RunCommand(action->data().toInt());
        });
    }
    BuildRecentFileMenu();
}

void MainFrame::BuildRecentFileMenu() {
    recentMenu_->clear();
    std::vector<std::string> files = ui_.RecentFiles();
    for (std::size_t i = 0; i < files.size(); ++i) {
        // The key is shown in the text: the window's own key action runs it.
        QString text = Latin1(RecentFileMenuText(i, files[i]));
        if (const char* key = KeyOf(cmd::kRecentFile + static_cast<int>(i)))
            text += QString("\t") + key;
        recentMenu_->addAction(text)->setData(cmd::kRecentFile + static_cast<int>(i));
    }
    recentMenu_->menuAction()->setEnabled(!files.empty());
}

// The keys that no menu item carries (Save, the first two recent files, F3, F5).
void MainFrame::AddKeys() {
    for (const Accelerator& key : MainAccelerators()) {
        if (Action(key.command)) continue;
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(key.key));
        action->setData(key.command);
        connect(action, &QAction::triggered, this,
                [this, action] { RunCommand(action->data().toInt()); });
        addAction(action);
        keys_.push_back(action);
    }
}

// The commands the window itself answers: the view mode, help, the recent files, About.
void MainFrame::RegisterWindowCommands() {
    CommandTable& commands = app_.commands;
    commands.SetPlain(cmd::kAbout, [this] {
        AboutDialog about(this);
        about.exec();
    });
    commands.SetPlain(cmd::kListMode, [this] { SetLowerView(cmd::kListMode); });
    commands.SetPlain(cmd::kDumpMode, [this] { SetLowerView(cmd::kDumpMode); });
    commands.SetPlain(cmd::kHelpContents, [this] { ShowManual(); });
    commands.SetPlain(cmd::kHelpHowTo, [this] {
        app_.ui.MessageBox("Help shows the user manual of this program with the viewer of your "
                           "desktop.\r\nPress F1 or choose Help, Contents.",
                           "VANTREL", MsgButtons::Ok, MsgIcon::Information, MsgAnswer::Ok);
    });
    for (int command = cmd::kRecentFile; command <= kRecentFileLast; ++command)
        commands.SetPlain(command, [this, command] { OpenRecentFile(command - cmd::kRecentFile); });
}

QAction* MainFrame::Action(int command) const {
    for (QAction* top : menuBar()->actions())
        for (QAction* action : top->menu()->actions())
            if (!action->menu() && action->data().toInt() == command) return action;
    for (QAction* action : keys_)
        if (action->data().toInt() == command) return action;
    return nullptr;
}

bool MainFrame::CommandEnabled(int command) const {
    if (command == cmd::kExit) return true;
    if (command == cmd::kDownloadFirmware) return FirmwareCommandEnabled(app_);
    if (command == cmd::kDevice) return app_.commands.Has(command) && DeviceDialogEnabled(app_);
    if (command == cmd::kPassword) return app_.commands.Has(command) && PasscodeDialogEnabled(app_);
    if (IsRecentFileCommand(command))
        return static_cast<std::size_t>(command - cmd::kRecentFile) < ui_.RecentFiles().size();
    return app_.commands.Has(command) && DocumentCommandEnabled(app_, command) &&
           OperationCommandEnabled(app_, command);
}

void MainFrame::UpdateCommandStates() {
    for (QAction* top : menuBar()->actions())
        for (QAction* action : top->menu()->actions()) {
            if (action->menu()) continue;
            int command = action->data().toInt();
            action->setEnabled(CommandEnabled(command));
            if (command == cmd::kListMode || command == cmd::kDumpMode) {
                action->setCheckable(true);
                action->setChecked(command == lowerMode_);
            }
        }
    for (QAction* action : keys_)
        action->setEnabled(CommandEnabled(action->data().toInt()));
    recentMenu_->menuAction()->setEnabled(!ui_.RecentFiles().empty());
}

// A key or menu item: only when its command may run now (a key may come before the next
// update of the enabled states).
void MainFrame::RunCommand(int command) {
    if (!CommandEnabled(command)) return;
    if (app_.mainWindow)
        app_.mainWindow->OnCommand(command);
    else
        app_.commands.Run(command);
}

// The list or the dump view of the document; both follow the window's repaint requests.
QWidget* MainFrame::MakeImageView(int command, QWidget* parent) {
    if (command == cmd::kDumpMode) {
        auto* view = new DumpView(app_, parent);
        connect(this, &MainFrame::documentChanged, view, &DumpView::OnRepaintRequested);
        return view;
    }
    auto* view = new ListView(app_, parent);
    connect(this, &MainFrame::documentChanged, view, &ListView::OnRepaintRequested);
    return view;
}

void MainFrame::RegisterDialogs() {
    RegisterDeviceDialogs(app_, this);
    RegisterOptionDialogs(app_, this);
}

void MainFrame::SetLowerView(int command) {
    if (!lower_ || command != lowerMode_) {
        lowerMode_ = command;
        const QList<int> sizes = splitter_->sizes();
        QWidget* old = lower_;
        if (old) {
            old->hide();
            old->setParent(nullptr); // out of the splitter now, deleted once its events are done
            old->deleteLater();
        }
        lower_ = makeLowerView(command, splitter_);
        lower_->setMinimumSize(600, 10);
        splitter_->addWidget(lower_);
        splitter_->setStretchFactor(1, 1);
        if (old) splitter_->setSizes(sizes); // the summary keeps the height it was given
        lower_->show();
        lower_->setFocus();
    }
    UpdateCommandStates();
}

void MainFrame::OpenRecentFile(int index) {
    std::vector<std::string> files = ui_.RecentFiles();
    if (index < 0 || static_cast<std::size_t>(index) >= files.size()) return;
    std::string path = files[static_cast<std::size_t>(index)];
    if (!OpenFileByName(app_, path) && !QFileInfo::exists(Latin1(path)))
        ui_.RemoveRecentFile(path); // gone: no use offering it again
}

std::string MainFrame::ManualPath() const {
    return app_.programDirectory + kManual;
}

void MainFrame::ShowManual() {
    std::string path = ManualPath();
    if (!QFileInfo::exists(Latin1(path)) || !openUrl(QUrl::fromLocalFile(Latin1(path))))
        app_.ui.MessageBox("Cannot show the user manual " + path, "VANTREL", MsgButtons::Ok,
                           MsgIcon::Warning, MsgAnswer::Ok);
}

// When the window first shows, the lower view joins the summary view below its 200 pixels.
void MainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!lower_) SetLowerView(lowerMode_);
}

void MainFrame::closeEvent(QCloseEvent* event) {
    if (SaveModified(app_))
        event->accept();
    else
        event->ignore();
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainFrame::dropEvent(QDropEvent* event) {
    QString file = DroppedFile(event->mimeData());
    if (file.isEmpty()) return;
    event->acceptProposedAction();
    activateWindow();
    OpenFileByName(app_, file.toLatin1().toStdString());
}

} // namespace vantrel
