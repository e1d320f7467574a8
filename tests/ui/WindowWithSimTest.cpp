// The window against vantrel-sim on a pseudo-terminal: the program's own start-up in this
// process with the Qt front end, the menus and the summary with and without a programmer, and
// a program-and-verify started from the menu with its progress dialog, screenshots included.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QTest>
#include <chrono>
#include <fstream>
#include <thread>

#include "WindowTestSupport.h"
#include "app/App.h"
#include "app/Startup.h"
#include "commands/DocumentFiles.h"
#include "platform/SteadyClock.h"
#include "platform/TermiosSerialPort.h"
#include "support/Process.h"
#include "support/PtyPair.h"
#include "support/SimFixtures.h"
#include "support/SimProcess.h"
#include "support/TempDir.h"
#include "ui/qt/MainFrame.h"
#include "ui/qt/ProgressDialog.h"
#include "ui/qt/QtUi.h"
#include "ui/qt/dialogs/DevicePropertiesDialog.h"
#include "ui/qt/dialogs/FillingDialogView.h"
#include "ui/qt/dialogs/SelectDeviceDialog.h"
#include "ui/qt/views/SummaryView.h"

namespace vantrel {
namespace {

using Id = SummaryRowId;
using test::Screenshot;

class WindowWithSim : public ::testing::Test {
  protected:
    ~WindowWithSim() override {
        frame.reset();
        app.reset();
    }

    // The sample device (or none) on COM1, which is `port` (the emulator's terminal or a
    // silent one).
    void Start(const std::string& port, bool withDevice = true) {
        test::InstallSampleDevice(dir.Path());
        {
            std::ofstream ini(dir / "vantrel.ini", std::ios::binary | std::ios::trunc);
            ini << "[Settings]\r\n";
            if (withDevice) ini << "Device=\"" << test::kSampleDevice << "\"\r\n";
            ini << "ComPort=1\r\n[Ports]\r\nCOM1=\"" << port << "\"\r\n";
        }
        app = std::make_unique<App>(ui, clock);
        app->programDirectory = dir.Path().string() + "/";
        app->makeSerialPort = [] { return std::make_unique<TermiosSerialPort>(); };
        app->deviceRoot = (dir / "no-device-tree").string();
        frame = std::make_unique<MainFrame>(*app, ui);
        frame->show();
        const char* argv[] = {"vantrel"};
        ASSERT_TRUE(InitInstance(*app, 1, argv, {}, [this] { frame->RegisterDialogs(); }));
    }
    // Runs the window's events until `done` or the time is up.
    template <class F> bool RunUntil(F done, int ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return done();
    }
    bool Ready() {
        return app->pm.Read(
            [](const LinkShared& s) { return s.sessionValid && s.setupBlockValid; });
    }
    std::optional<SummaryRow> Row(Id id) {
        for (const SummaryRow& row : frame->Summary()->Model().Rows())
            if (row.id == id) return row;
        return std::nullopt;
    }
    std::vector<int> RightRows() {
        std::vector<int> rows;
        for (const SummaryRow& row : frame->Summary()->Model().Rows())
            if (row.column == 1) rows.push_back(row.row);
        return rows;
    }
    bool Enabled(int command) {
        frame->UpdateCommandStates();
        QAction* action = frame->Action(command);
        return action && action->isEnabled();
    }

    QApplication& qt = test::Qt(); // before any widget
    test::TempDir dir{true};
    SteadyClock clock;
    QtUi ui;
    std::unique_ptr<App> app;
    std::unique_ptr<MainFrame> frame;
    test::BoxAnswerer boxes;
};

// Nobody answers on COM1: the operations and the device dialog stay greyed, the summary shows
// rows 0 to 5 of the target column and "No communication", the status bar says so too.
TEST_F(WindowWithSim, WithoutProgrammer) {
    test::PtyPair silent;
    Start(silent.SlavePath());
    test::GenerateProgram(dir.Path(), "program.mot", "0xC0000", "0xC0100");
    ASSERT_TRUE(OpenFileByName(*app, (dir / "program.mot").string()));
    RunUntil([] { return false; }, 300);
    for (int command : {cmd::kProgramVerify, cmd::kProgram, cmd::kVerify, cmd::kCheckBlank,
                        cmd::kClear, cmd::kReadBack, cmd::kStart, cmd::kDevice})
        EXPECT_FALSE(Enabled(command)) << command;
    EXPECT_TRUE(Enabled(cmd::kOpenFile));
    EXPECT_TRUE(Enabled(cmd::kSaveAs));
    EXPECT_EQ(RightRows(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Row(Id::Status)->value, "No communication");
    EXPECT_EQ(Row(Id::Device)->value, test::kSampleDevice);
    EXPECT_EQ(Row(Id::ImageRange)->value, "C0000 - C00FF");
    EXPECT_EQ(Row(Id::ImageRange)->colour, SummaryColour::Green);
    EXPECT_EQ(ui.PaneWidget(1)->text().toStdString(), "COM1: 115200 Baud");
    EXPECT_EQ(ui.PaneWidget(2)->text().toStdString(), "No communication");
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
    Screenshot(*frame, "main-window-no-programmer.png");
}

// The emulator answers: the commands come alive, the summary shows the programmer's rows, and
// a change of one value redraws that row only.
TEST_F(WindowWithSim, WithProgrammer) {
    test::SimProcess sim({"--serial", "4711", "--vin", "12000"});
    const std::string simPath = sim.Path();
    ASSERT_FALSE(simPath.empty());
    Start(simPath);
    ASSERT_TRUE(RunUntil([&] { return Ready(); }, 10000));
    test::GenerateProgram(dir.Path(), "program.mot", "0xC0000", "0xC0100");
    ASSERT_TRUE(OpenFileByName(*app, (dir / "program.mot").string()));
    // The summary gathers what it shows on its own 50 ms timer: wait until it has taken in the
    // file and the serial number (from the setup block), or the checks below see it stale.
    RunUntil(
        [&] {
            return Row(Id::ImageRange) && Row(Id::ImageRange)->value == "C0000 - C00FF" &&
                   Row(Id::Firmware) && Row(Id::Firmware)->value.find(" S/N ") != std::string::npos;
        },
        2000);
    for (int command : {cmd::kProgramVerify, cmd::kProgram, cmd::kVerify, cmd::kCheckBlank,
                        cmd::kClear, cmd::kReadBack, cmd::kStart})
        EXPECT_TRUE(Enabled(command)) << command;
    // A 5.10 programmer takes files of its own: its item comes into the Options menu.
    QAction* download = frame->Action(cmd::kDownload);
    ASSERT_NE(download, nullptr);
    QList<QAction*> options =
        download->associatedObjects().isEmpty()
            ? QList<QAction*>{}
            : qobject_cast<QMenu*>(download->associatedObjects().front())->actions();
    EXPECT_EQ(options.indexOf(download) + 1, options.indexOf(frame->Action(cmd::kDevice)));
    EXPECT_EQ(Row(Id::Status)->value, "Ready");
    EXPECT_EQ(Row(Id::Vin)->value, "12.0 Volt");
    EXPECT_NE(Row(Id::Firmware)->value.find(" S/N 4711"), std::string::npos);
    EXPECT_EQ(Row(Id::Result)->value, "O.K.");
    EXPECT_EQ(Row(Id::CurrentAddress)->value, "---");
    EXPECT_EQ(ui.PaneWidget(2)->text().toStdString().rfind("COM1, Datarate[bytes/sec] ", 0), 0u);
    Screenshot(*frame->Summary(), "summary-with-programmer.png");
    Screenshot(*frame, "main-window-with-programmer.png");

    // One tick after the image changed: the image rows are drawn again, not the whole view.
    app->doc.Relocate(0x10);
    frame->Summary()->Refresh();
    const QRegion changed = frame->Summary()->LastInvalidated();
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_LT(changed.boundingRect().height(), frame->Summary()->viewport()->height());
    EXPECT_EQ(Row(Id::ImageRange)->value, "C0010 - C010F");
    app->doc.ForgetModified();
    EXPECT_TRUE(boxes.texts.empty()) << boxes.texts.front();
}

// Program and verify from the menu at the real line rate: the progress dialog shows and moves
// while the main window keeps drawing (the summary follows the programmer's state), the
// success message comes, and the summary's result reads O.K.
TEST_F(WindowWithSim, ProgramAndVerifyFromTheMenu) {
    test::SimProcess sim({"--pace", "--op-time", "1500"});
    const std::string simPath = sim.Path();
    ASSERT_FALSE(simPath.empty());
    Start(simPath);
    ASSERT_TRUE(RunUntil([&] { return Ready(); }, 10000));
    test::GenerateProgram(dir.Path(), "program.mot", "0xC0000", "0xC4000"); // 16 KiB
    ASSERT_TRUE(OpenFileByName(*app, (dir / "program.mot").string()));
    ASSERT_TRUE(Enabled(cmd::kProgramVerify));

    struct Seen {
        bool dialog = false;
        bool windowDisabled = false;
        std::vector<std::string> captions;
        std::vector<std::string> states; // the summary's status row while the dialog showed
        int maxPercent = 0;
        bool shot = false;
    } seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = static_cast<QtProgressDialog*>(ui.ProgressWidget());
        if (!dialog || !dialog->isVisible()) return;
        seen.dialog = true;
        seen.windowDisabled = seen.windowDisabled || !frame->isEnabled();
        std::string caption = dialog->windowTitle().toStdString();
        if (seen.captions.empty() || seen.captions.back() != caption)
            seen.captions.push_back(caption);
        for (const SummaryRow& row : frame->Summary()->Model().Rows())
            if (row.id == Id::Status && (seen.states.empty() || seen.states.back() != row.value))
                seen.states.push_back(row.value);
        seen.maxPercent = std::max(seen.maxPercent, dialog->Bar()->value());
        if (!seen.shot && dialog->Bar()->value() >= 30) {
            seen.shot = true;
            Screenshot(*dialog, "progress-mid-operation.png");
            Screenshot(*frame, "main-window-mid-operation.png");
        }
    });
    watch.start(20);
    frame->Action(cmd::kProgramVerify)->trigger(); // returns when the operation has ended
    watch.stop();

    EXPECT_TRUE(seen.dialog);
    EXPECT_TRUE(seen.windowDisabled);
    EXPECT_TRUE(seen.shot);
    EXPECT_GE(seen.maxPercent, 30);
    EXPECT_NE(std::find(seen.captions.begin(), seen.captions.end(), "Downloading"),
              seen.captions.end());
    // The summary kept refreshing during the operation's waits: it saw the programmer busy.
    EXPECT_GE(seen.states.size(), 2u);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"All bytes programmed and verified O.K. !"});
    EXPECT_EQ(ui.ProgressWidget(), nullptr);
    EXPECT_TRUE(frame->isEnabled());
    ASSERT_TRUE(RunUntil([&] { return Row(Id::Status)->value == "Ready"; }, 2000));
    EXPECT_EQ(Row(Id::Result)->value, "O.K.");
    EXPECT_NE(Row(Id::Result)->colour, SummaryColour::Red);
    EXPECT_EQ(ui.PaneWidget(0)->text().toStdString().rfind("Time for last action (sec:ms) ", 0),
              0u);
    Screenshot(*frame, "main-window-after-program-verify.png");
}

// A first start names no device: the program says so and opens the device dialog on a device
// of its own choice, and the user selects the device from the list; the fill byte comes from its
// own dialog. The device is then programmed, and the settings file written at the end names both.
TEST_F(WindowWithSim, SetUpADeviceThroughTheDialogsAndProgramIt) {
    test::SimProcess sim({});
    const std::string simPath = sim.Path();
    ASSERT_FALSE(simPath.empty());
    std::vector<std::string> dialogs; // the dialogs in the order they came up
    // A click that opens another dialog runs its loop: it must not run inside the timer's own
    // handler, which would then never be called again.
    auto Click = [](QPushButton* button) {
        QMetaObject::invokeMethod(button, &QPushButton::click, Qt::QueuedConnection);
    };
    QPointer<QWidget> acted; // the dialog the user acted on last
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == acted) return; // its click is on its way
        acted = modal;
        if (auto* list = qobject_cast<SelectDeviceDialog*>(modal)) {
            dialogs.push_back("select");
            list->TypeAhead(test::kSampleDevice);
            Click(list->findChild<QPushButton*>("1"));
        } else if (auto* properties = qobject_cast<DevicePropertiesDialog*>(modal)) {
            bool chosen = properties->findChild<QLineEdit*>("20")->text() == test::kSampleDevice;
            dialogs.push_back(chosen ? "properties-ok" : "properties");
            Click(properties->findChild<QPushButton*>(chosen ? "1" : "5"));
        } else if (auto* filling = qobject_cast<FillingDialogView*>(modal)) {
            dialogs.push_back("filling");
            QLineEdit* fill = filling->findChild<QLineEdit*>("100");
            fill->selectAll();
            QTest::keyClicks(fill, "5a"); // typed: the dialog makes it upper case
            Click(filling->findChild<QPushButton*>("1"));
        }
    });
    user.start(20);
    Start(simPath, false);
    // The list holds what the programmer supports: until it has told its lists in full, the
    // user may have to look again.
    ASSERT_GE(dialogs.size(), 3u);
    EXPECT_EQ(dialogs[0], "properties");
    EXPECT_EQ(dialogs[1], "select");
    EXPECT_EQ(dialogs.back(), "properties-ok");
    ASSERT_FALSE(boxes.texts.empty());
    EXPECT_EQ(boxes.texts.front().rfind("Invalid default program settings found.", 0), 0u);
    ASSERT_NE(app->selection.SelectedDevice(), nullptr);
    EXPECT_EQ(app->selection.SelectedDevice()->device, test::kSampleDevice);

    ASSERT_TRUE(Enabled(cmd::kFilling));
    frame->Action(cmd::kFilling)->trigger();
    EXPECT_EQ(dialogs.back(), "filling");
    user.stop();

    boxes.texts.clear();
    ASSERT_TRUE(RunUntil([&] { return Ready(); }, 10000));
    test::GenerateProgram(dir.Path(), "program.mot", "0xC0000", "0xC1000");
    ASSERT_TRUE(OpenFileByName(*app, (dir / "program.mot").string()));
    ASSERT_TRUE(Enabled(cmd::kProgramVerify));
    frame->Action(cmd::kProgramVerify)->trigger();
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"All bytes programmed and verified O.K. !"});

    ExitInstance(*app);
    const std::string ini = test::ReadFile(dir / "vantrel.ini");
    EXPECT_NE(ini.find("Device=\"" + std::string(test::kSampleDevice) + "\""), std::string::npos)
        << ini;
    EXPECT_NE(ini.find("FillByte = 90"), std::string::npos) << ini;
}

} // namespace
} // namespace vantrel
