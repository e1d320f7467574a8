// The option dialogs drawn with Qt on the offscreen platform: their controls by id with their
// texts, the reactions the models decide, no text cut by its control, and a screenshot of each
// under the build tree for a reviewer.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "WindowTestSupport.h"
#include "app/App.h"
#include "base/CommandIds.h"
#include "device/DeviceTable.h"
#include "dialogs/SetupRecord.h"
#include "support/FakeClock.h"
#include "support/FakeUi.h"
#include "ui/qt/dialogs/CalibrationDialogView.h"
#include "ui/qt/dialogs/CommunicationDialogView.h"
#include "ui/qt/dialogs/FillingDialogView.h"
#include "ui/qt/dialogs/OptionDialogs.h"
#include "ui/qt/dialogs/PasscodeDialogView.h"
#include "ui/qt/dialogs/SetupDialogView.h"
#include "ui/qt/dialogs/ToshibaPasscodeDialogView.h"

namespace vantrel {
namespace {

using test::Qt;

void Screenshot(QWidget& w, const char* name) {
    const std::string path = test::Screenshot(w, name);
    EXPECT_TRUE(std::filesystem::exists(path)) << path;
}

// Every label, button and check box is at least as wide as its text needs (the layouts grow
// with the font, so this holds at any scaling).
void ExpectNoTextCut(QWidget& dialog) {
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        if (!qobject_cast<QLabel*>(w) && !qobject_cast<QAbstractButton*>(w)) continue;
        EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
    }
}

template <class W> W* Control(QWidget& dialog, int id) {
    W* w = dialog.findChild<W*>(QString::number(id));
    EXPECT_NE(w, nullptr) << id;
    return w;
}

void Click(QWidget& dialog, int id) {
    QTest::mouseClick(Control<QAbstractButton>(dialog, id), Qt::LeftButton);
}

class OptionDialogsTest : public ::testing::Test {
  protected:
    OptionDialogsTest() {
        Qt();
        app.deviceRoot = "/nonexistent-device-tree"; // this machine's adapters stay out of it
    }
    void SelectDevice(uint8_t algoS, int idLenMin, int idLenMax) {
        DeviceRecord device;
        device.device = "OPTION TEST";
        device.algoS = algoS;
        device.idLenMin = static_cast<uint8_t>(idLenMin);
        device.idLenMax = static_cast<uint8_t>(idLenMax);
        device.idRangeFirst = 0x100;
        device.idRangeLast = 0x1FF;
        AddDevice(ui, app.devices, device);
        app.selection.SelectDeviceByName(device.device);
    }
    void Hardware(uint16_t version) {
        ProgrammerStatus status;
        status.state = kStateReady;
        status.hardwareVersion = version;
        app.pm.SetStatus(status);
    }
    test::FakeUi ui;
    test::FakeClock clock;
    App app{ui, clock};
};

TEST_F(OptionDialogsTest, RegistersTheirCommands) {
    QWidget parent;
    RegisterOptionDialogs(app, &parent);
    for (int command : {cmd::kCommunication, cmd::kFilling, cmd::kPassword, cmd::kSetup, 32817})
        EXPECT_TRUE(app.commands.Has(command)) << command;
    // Nothing opens when the device takes no ID bytes or no programmer can calibrate.
    EXPECT_TRUE(app.commands.Run(cmd::kPassword));
    EXPECT_TRUE(app.commands.Run(32817));
}

TEST_F(OptionDialogsTest, Filling) {
    app.options.enableAC = true;
    app.options.clearOnDemand = true;
    app.selection.fillByte = 0xFF;
    FillingDialog model(app);
    FillingDialogView view(model);
    view.show();
    EXPECT_EQ(view.windowTitle().toStdString(), " Filling & Misc. options");
    auto* fill = Control<QLineEdit>(view, 100);
    EXPECT_EQ(fill->text().toStdString(), "FF");
    EXPECT_EQ(Control<QCheckBox>(view, 106)->text().toStdString(),
              "&Perform file check functions in batch mode");
    Screenshot(view, "filling-dialog.png");
    ExpectNoTextCut(view);

    auto* clearOnDemand = Control<QCheckBox>(view, 102);
    Click(view, 101);
    EXPECT_FALSE(clearOnDemand->isEnabled());
    EXPECT_TRUE(clearOnDemand->isChecked());
    fill->clear();
    QTest::keyClicks(fill, "0f");
    EXPECT_EQ(fill->text().toStdString(), "0F");
    Click(view, 1);
    EXPECT_EQ(view.result(), QDialog::Accepted);
    EXPECT_EQ(app.selection.fillByte, 0x0F);
    EXPECT_FALSE(app.options.enableAC);
    EXPECT_TRUE(app.options.clearOnDemand);
}

TEST_F(OptionDialogsTest, FillingStaysOpenOnAnEmptyFillByte) {
    FillingDialog model(app);
    FillingDialogView view(model);
    view.show();
    auto* fill = Control<QLineEdit>(view, 100);
    fill->clear();
    QTest::keyClicks(fill, " ");
    Click(view, 1);
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(ui.Messages(), std::vector<std::string>{"Expecting a value"});
}

TEST_F(OptionDialogsTest, GeneralPasscode) {
    SelectDevice(12, 2, 9);
    app.selection.passcodeLength = 4;
    app.selection.passcode = {0x12, 0xAB, 3, 4};
    PasscodeDialog model(app);
    PasscodeDialogView view(model);
    view.show();
    EXPECT_EQ(view.windowTitle().toStdString(), "Passcode configuration");
    auto* count = Control<QComboBox>(view, 1031);
    EXPECT_EQ(count->count(), 8);
    EXPECT_EQ(count->currentText().toStdString(), "4");
    auto* byte2 = Control<QComboBox>(view, 1041);
    EXPECT_EQ(byte2->currentText().toStdString(), "ab");
    EXPECT_TRUE(Control<QComboBox>(view, 1043)->isEnabled());
    EXPECT_FALSE(Control<QComboBox>(view, 1044)->isEnabled());
    EXPECT_TRUE(Control<QComboBox>(view, 1056)->isVisible());  // byte 9
    EXPECT_FALSE(Control<QComboBox>(view, 1057)->isVisible()); // byte 10
    Screenshot(view, "passcode-dialog.png");
    ExpectNoTextCut(view);
    count->setCurrentIndex(0);
    EXPECT_FALSE(Control<QComboBox>(view, 1042)->isEnabled());
    byte2->setCurrentIndex(0x5c);
    Click(view, 1);
    EXPECT_EQ(app.selection.passcodeLength, 2);
    EXPECT_EQ(app.selection.passcode[1], 0x5c);
}

TEST_F(OptionDialogsTest, ToshibaPasscode) {
    SelectDevice(139, 2, 4);
    app.options.enablePasscode = true;
    app.options.passcodeHex = false;
    app.selection.passcodeLength = 2;
    app.selection.passcode = {'o', 'k'};
    ToshibaPasscodeDialog model(app);
    ToshibaPasscodeDialogView view(model);
    view.show();
    EXPECT_EQ(view.windowTitle().toStdString(), " TOSHIBA CPU Passcode settings");
    auto* password = Control<QLineEdit>(view, 102);
    EXPECT_EQ(password->text().toStdString(), "ok");
    EXPECT_EQ(Control<QLineEdit>(view, 100)->text().toStdString(), "100");
    Screenshot(view, "toshiba-passcode-dialog.png");
    ExpectNoTextCut(view);

    Click(view, 103); // "&Fill 0xFF"
    EXPECT_FALSE(password->isEnabled());
    EXPECT_FALSE(Control<QCheckBox>(view, 104)->isEnabled());
    Click(view, 103);
    Click(view, 104); // "&HexMode"
    password->clear();
    QTest::keyClicks(password, "12345");
    Click(view, 1);
    EXPECT_TRUE(view.isVisible());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].caption, "Error in passcode settings");
    EXPECT_EQ(password->text().toStdString(), "ok"); // the stored values again

    auto* count = Control<QLineEdit>(view, 100);
    count->clear();
    QTest::keyClicks(count, "1a0");
    EXPECT_EQ(count->text().toStdString(), "1A0");
    Click(view, 1);
    EXPECT_EQ(view.result(), QDialog::Accepted);
    EXPECT_EQ(app.selection.toshibaIdLengthAddress, 0x1A0u);
}

TEST_F(OptionDialogsTest, Communication) {
    app.options.comPort = 3;
    CommunicationDialog model(app);
    CommunicationDialogView view(model);
    view.show();
    EXPECT_EQ(view.windowTitle().toStdString(), "Communication parameters");
    auto* ports = Control<QComboBox>(view, 1008);
    EXPECT_EQ(ports->count(), 21);
    EXPECT_EQ(ports->itemText(0).toStdString(), "AUTO (every mapped port)");
    EXPECT_EQ(ports->currentIndex(), 3);
    EXPECT_EQ(ports->currentText().left(5).toStdString(), "COM3 ");
    Screenshot(view, "communication-dialog.png");
    ExpectNoTextCut(view);
    ports->setCurrentIndex(7);
    EXPECT_EQ(model.Selected(), 7);
}

TEST_F(OptionDialogsTest, Setup) {
    app.pm.Update([](LinkShared& s) {
        WriteSetupRecord({1, 2, 1, 1, 35, 700, 4711}, s.setupBlock);
        s.setupBlockValid = true;
    });
    SetupDialog model(app);
    SetupDialogView view(model);
    view.show();
    EXPECT_EQ(view.windowTitle().toStdString(), "Setup");
    EXPECT_EQ(Control<QComboBox>(view, 1011)->currentText().toStdString(), "5 min");
    EXPECT_TRUE(Control<QRadioButton>(view, 1046)->isChecked());
    auto* serial = Control<QLineEdit>(view, 1002);
    EXPECT_TRUE(serial->isReadOnly());
    EXPECT_EQ(serial->text().toStdString(), "4711");
    Screenshot(view, "setup-dialog.png");
    ExpectNoTextCut(view);

    Click(view, 3); // "Set &defaults"
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(Control<QLineEdit>(view, 1021)->text().toStdString(), "20");
    EXPECT_EQ(Control<QLineEdit>(view, 1004)->text().toStdString(), "500");
    EXPECT_TRUE(Control<QRadioButton>(view, 1045)->isChecked());
    EXPECT_EQ(Control<QComboBox>(view, 1010)->currentText().toStdString(), "Wait for PC");

    auto* active = Control<QLineEdit>(view, 1021);
    active->clear();
    QTest::keyClicks(active, "2001");
    Click(view, 1); // "Save setup"
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(ui.Messages(),
              std::vector<std::string>{"Please enter an integer between 1 and 2000."});
    active->clear();
    QTest::keyClicks(active, "250");
    Click(view, 1);
    EXPECT_EQ(view.result(), QDialog::Accepted);
    EXPECT_EQ(ReadSetupRecord(app.pm.Setup()).resetActiveMs, 250);
}

TEST_F(OptionDialogsTest, Calibration) {
    Hardware(510);
    CalibrationDialog model(app);
    CalibrationDialogView view(model);
    view.show();
    EXPECT_EQ(view.windowTitle().toStdString(), "Calibration");
    EXPECT_EQ(Control<QLineEdit>(view, 1042)->text().toStdString(), "12.0V");
    EXPECT_FALSE(Control<QPushButton>(view, 1041)->isEnabled());
    EXPECT_FALSE(Control<QPushButton>(view, 1043)->isEnabled());
    Click(view, 3);
    EXPECT_FALSE(Control<QPushButton>(view, 3)->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(view, 4)->isEnabled());
    ProgrammerStatus status = PM_Status(app.pm);
    status.calibration1 = 811;
    status.calibration2 = 2047;
    app.pm.SetStatus(status);
    view.Refresh();
    EXPECT_EQ(Control<QLineEdit>(view, 1046)->text().toStdString(), "811");
    Click(view, 1043);
    EXPECT_EQ(Control<QLineEdit>(view, 1042)->text().toStdString(), "5.0V");
    Screenshot(view, "calibration-dialog.png");
    ExpectNoTextCut(view);
    Click(view, 1043);
    EXPECT_EQ(view.result(), QDialog::Accepted);
    EXPECT_EQ(PM_JobCount(app.pm), 5); // start, save, next point, save, end
}

TEST_F(OptionDialogsTest, CalibrationOfVppMultiplier) {
    Hardware(591);
    CalibrationDialog model(app);
    CalibrationDialogView view(model);
    view.show();
    EXPECT_EQ(view.windowTitle().toStdString(), "Calibration of Vpp multiplier");
    EXPECT_EQ(view.findChild<QLineEdit*>("1042"), nullptr);
    Click(view, 3);
    Screenshot(view, "calibration-multiplier-dialog.png");
    ExpectNoTextCut(view);
    view.reject(); // Cancel ends the calibration
    EXPECT_EQ(PM_JobCount(app.pm), 2);
    EXPECT_EQ(PM_CurrentJob(app.pm), 18);
}

} // namespace
} // namespace vantrel
