// The device dialogs on the offscreen platform, over the sample device database: their controls
// by id, what they show, the user's clicks reaching the models, texts that fit with large fonts,
// and screenshots under the build tree.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>

#include "WindowTestSupport.h"
#include "app/App.h"
#include "base/CommandIds.h"
#include "device/DeviceCsv.h"
#include "device/DeviceFile.h"
#include "dialogs/DeviceDialogFlow.h"
#include "support/FakeClock.h"
#include "support/FakeUi.h"
#include "ui/MainWindow.h"
#include "ui/qt/dialogs/DeviceDialogs.h"
#include "ui/qt/dialogs/DevicePropertiesDialog.h"
#include "ui/qt/dialogs/SelectDeviceDialog.h"

namespace vantrel {
namespace {

using test::Qt;
using test::Screenshot;

template <typename W> W* Control(QWidget& dialog, const char* id) {
    W* w = dialog.findChild<W*>(id);
    EXPECT_NE(w, nullptr) << "no control " << id;
    return w;
}

std::string Text(QLineEdit* edit) {
    return edit ? edit->text().toStdString() : "";
}

// Runs `act` on the modal dialog of type W as soon as its exec() shows it.
template <typename W> void WhenShown(std::function<void(W&)> act) {
    auto* poll = new QTimer(qApp); // freed with the application should it never fire
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* dialog = qobject_cast<W*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(*dialog);
        }
    });
    poll->start(10);
}

// Every text of the dialog's labels and buttons fits into its widget.
void ExpectTextsFit(QWidget& dialog) {
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        if (!qobject_cast<QLabel*>(w) && !qobject_cast<QAbstractButton*>(w)) continue;
        EXPECT_GE(w->width(), w->sizeHint().width()) << w->objectName().toStdString();
        EXPECT_GE(w->height(), w->sizeHint().height()) << w->objectName().toStdString();
    }
}

// A programmer that supports every device of the sample database.
ProgrammerStatus EveryDevice() {
    ProgrammerStatus status;
    status.state = kStateReady;
    status.firmwareVersion = 20000;
    status.hardwareVersion = 600;
    status.parallelFlag = 1;
    for (uint8_t code = 0; code <= 146; ++code)
        status.supportedAlgorithms.push_back(code);
    for (uint8_t code = 0; code <= 13; ++code)
        status.supportedInterfaces.push_back(code);
    return status;
}

class DeviceDialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        Qt();
        ReadDeviceCsvFile(ui, app.devices,
                          std::string(VANTREL_SAMPLE_DEVICES) + "/FlashDevices.csv");
        LoadDeviceFilesFrom(ui, app.devices, std::string(VANTREL_SAMPLE_DEVICES) + "/");
        ASSERT_TRUE(ui.boxes.empty());
        app.pm.SetStatus(EveryDevice());
        app.selection.SelectDeviceByName("KS7X3264"); // three banks, two protected areas
        app.selection.SelectAllBanks();
    }
    test::FakeUi ui;
    test::FakeClock clock;
    App app{ui, clock};
    uint32_t sortKey = 0;
};

TEST_F(DeviceDialogs, DevicePropertiesShowsTheSelectedDevice) {
    DevicePropertiesSession session(app, sortKey, {});
    DevicePropertiesDialog dialog(session, ui);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle().toStdString(), " Device properties");
    EXPECT_EQ(Text(Control<QLineEdit>(dialog, "20")), "KS7X3264");
    for (const char* id : {"20", "21", "22", "23", "24", "25", "26", "27"})
        EXPECT_TRUE(Control<QLineEdit>(dialog, id)->isReadOnly()) << id;
    EXPECT_TRUE(Control<QRadioButton>(dialog, "40")->isChecked());
    auto* start = Control<QComboBox>(dialog, "10");
    EXPECT_EQ(start->count(), static_cast<int>(session.Model().StartBanks().items.size()));
    EXPECT_FALSE(Control<QListWidget>(dialog, "30")->isEnabled());
    EXPECT_EQ(Control<QLabel>(dialog, "51")->text().toStdString(), "&Protected\nareas");
    EXPECT_TRUE(Control<QListWidget>(dialog, "31")->isVisible());
    EXPECT_EQ(Control<QListWidget>(dialog, "31")->count(), 2);
    EXPECT_GE(dialog.height(), DevicePropertiesModel::kHeightWithProtectedAreas);
    EXPECT_GE(dialog.width(), DevicePropertiesModel::kWidth);
    EXPECT_EQ(dialog.focusWidget(), Control<QPushButton>(dialog, "5"));
    EXPECT_TRUE(Control<QPushButton>(dialog, "5")->isDefault());
    ExpectTextsFit(dialog);
    EXPECT_TRUE(std::filesystem::exists(Screenshot(dialog, "device-properties.png")));
}

TEST_F(DeviceDialogs, DevicePropertiesForwardsTheUsersChoices) {
    DevicePropertiesSession session(app, sortKey, {});
    DevicePropertiesDialog dialog(session, ui);
    dialog.show();
    auto* banks = Control<QListWidget>(dialog, "30");
    Control<QRadioButton>(dialog, "41")->setChecked(true);
    EXPECT_TRUE(banks->isEnabled());
    EXPECT_FALSE(Control<QComboBox>(dialog, "10")->isEnabled());
    banks->item(0)->setCheckState(Qt::Unchecked); // what a click on the check mark does
    EXPECT_FALSE(session.Model().Copy().bankFlags[0]);
    EXPECT_EQ(session.Model().Copy().startBank, 1);
    banks->item(2)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(session.Model().Copy().endBank, 1);
    auto* areas = Control<QListWidget>(dialog, "31");
    areas->item(1)->setCheckState(Qt::Checked);
    EXPECT_TRUE(session.Model().Copy().protectedFlags[1]);
    Control<QPushButton>(dialog, "1")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(app.selection.bankSelectMode);
    EXPECT_FALSE(app.selection.bankFlags[0]);
    EXPECT_TRUE(app.selection.bankFlags[1]);
    EXPECT_FALSE(app.selection.bankFlags[2]);
    EXPECT_TRUE(app.selection.protectedFlags[1]);
}

// "Select Device" opens the list on the working device; a device without protected areas makes
// the dialog shorter.
TEST_F(DeviceDialogs, SelectDeviceChangesTheWorkingDevice) {
    DevicePropertiesSession session(app, sortKey, {});
    DevicePropertiesDialog dialog(session, ui);
    dialog.show();
    int tall = dialog.height();
    int target = FindDevice(app.devices, "NR8C13");
    WhenShown<SelectDeviceDialog>([&](SelectDeviceDialog& list) {
        auto* devices = Control<QTableWidget>(list, "5");
        ASSERT_GE(devices->currentRow(), 0);
        EXPECT_EQ(devices->item(devices->currentRow(), 2)->text().toStdString(), "KS7X3264");
        Control<QComboBox>(list, "10")->setCurrentIndex(0); // every manufacturer
        list.TypeAhead("NR8C/1");
        list.TypeAhead("3");
        Control<QPushButton>(list, "1")->click();
    });
    Control<QPushButton>(dialog, "5")->click();
    EXPECT_EQ(session.Model().Copy().device, target);
    EXPECT_EQ(Text(Control<QLineEdit>(dialog, "20")), "NR8C/13");
    EXPECT_FALSE(Control<QListWidget>(dialog, "31")->isVisible());
    EXPECT_LT(dialog.height(), tall);
    Control<QPushButton>(dialog, "2")->click(); // Cancel: nothing committed
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(app.selection.SelectedDevice()->device, "KS7X3264");
}

TEST_F(DeviceDialogs, SelectDeviceListsSortsAndInsistsOnASelection) {
    SelectDeviceModel model(app.devices, app.pm.Status(), sortKey, app.selection.selected);
    SelectDeviceDialog dialog(model, ui);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle().toStdString(), " Select Device");
    auto* devices = Control<QTableWidget>(dialog, "5");
    QStringList titles;
    for (int c = 0; c < devices->columnCount(); ++c)
        titles << devices->horizontalHeaderItem(c)->text();
    EXPECT_EQ(titles.join(',').toStdString(), "Manufacturer,Group,Device,RAM,FLASH,Vpp,Package");
    EXPECT_EQ(devices->rowCount(), static_cast<int>(model.Rows().size()));
    EXPECT_EQ(devices->currentRow(), model.SelectedRow());
    EXPECT_GE(dialog.width(), SelectDeviceModel::kWidth);
    ExpectTextsFit(dialog);
    EXPECT_TRUE(std::filesystem::exists(Screenshot(dialog, "select-device.png")));

    Control<QComboBox>(dialog, "10")->setCurrentIndex(0);
    QHeaderView* header = devices->horizontalHeader();
    emit header->sectionClicked(2);
    emit header->sectionClicked(2);
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), 2);
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_EQ(sortKey, 0x83u);
    for (int row = 1; row < devices->rowCount(); ++row)
        EXPECT_GE(devices->item(row - 1, 2)
                      ->text()
                      .compare(devices->item(row, 2)->text(), Qt::CaseInsensitive),
                  0);

    devices->clearSelection();
    Control<QPushButton>(dialog, "1")->click();
    EXPECT_EQ(ui.Messages(), (std::vector<std::string>{"You have to select a device"}));
    EXPECT_TRUE(dialog.isVisible());
    devices->selectRow(3);
    Control<QPushButton>(dialog, "1")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Chosen(), model.Rows()[3]);
}

// Texts are never cut, also with fonts twice as large.
TEST_F(DeviceDialogs, TextsFitWithLargeFonts) {
    QFont normal = QApplication::font();
    QFont large = normal;
    large.setPointSizeF(normal.pointSizeF() * 2);
    QApplication::setFont(large);
    {
        DevicePropertiesSession session(app, sortKey, {});
        DevicePropertiesDialog properties(session, ui);
        properties.show();
        ExpectTextsFit(properties);
        SelectDeviceModel model(app.devices, app.pm.Status(), sortKey, -1);
        SelectDeviceDialog list(model, ui);
        list.show();
        ExpectTextsFit(list);
    }
    QApplication::setFont(normal);
}

TEST_F(DeviceDialogs, RegisteredAsTheDeviceCommandAndTheMainWindowsWay) {
    app.mainWindow = std::make_unique<MainWindow>(app);
    RegisterDeviceDialogs(app, nullptr);
    ASSERT_TRUE(app.commands.Has(cmd::kDevice));
    auto* window = static_cast<MainWindow*>(app.mainWindow.get());
    ASSERT_TRUE(window->openDeviceDialog);
    bool shown = false;
    WhenShown<DevicePropertiesDialog>([&](DevicePropertiesDialog& dialog) {
        shown = true;
        dialog.reject();
    });
    app.commands.Run(cmd::kDevice);
    EXPECT_TRUE(shown);
    ClearDeviceTable(app.devices);
    window->openDeviceDialog(); // no devices: error 232, no dialog
    EXPECT_EQ(GetLastErrorCode(app), 232);
}

} // namespace
} // namespace vantrel
