#include "ui/qt/dialogs/DevicePropertiesDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt/dialogs/DeviceDialogWidgets.h"
#include "ui/qt/dialogs/SelectDeviceDialog.h"

namespace vantrel {
namespace {

constexpr int kFieldIds[kDeviceFieldCount] = {20, 21, 22, 23, 24, 25, 26, 27};
// Vpp, RAM, FLASH and Vcc are numbers: right-aligned.
constexpr bool kRightAligned[kDeviceFieldCount] = {false, false, false, true,
                                                   true,  true,  true,  false};

QString Id(int id) {
    return QString::number(id);
}

// A check-mark list as tall as a few of its lines; its lines are grey while it is disabled.
class CheckMarkList : public QListWidget {
  public:
    CheckMarkList(int id, int lines, QWidget* parent) : QListWidget(parent), lines_(lines) {
        setObjectName(Id(id));
        QPalette grey = palette();
        grey.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
        setPalette(grey);
    }
    QSize sizeHint() const override {
        int line = count() > 0 ? sizeHintForRow(0) : fontMetrics().height() + 4;
        return {QListWidget::sizeHint().width(), lines_ * line + 2 * frameWidth()};
    }

  private:
    int lines_;
};

QComboBox* DropDown(int id, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(Id(id));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

// A row of labels and fields behind the row's own label.
QHBoxLayout* Row(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    for (QWidget* w : widgets)
        row->addWidget(w, qobject_cast<QLineEdit*>(w) ? 1 : 0);
    return row;
}

} // namespace

DevicePropertiesDialog::DevicePropertiesDialog(DevicePropertiesSession& session, Ui& ui,
                                               QWidget* parent)
    : QDialog(parent), session_(session), ui_(ui) {
    setWindowTitle(" Device properties");
    // Created in the order of the tab stops.
    auto* deviceLabel = new QLabel("Device", this);
    auto* manufacturerLabel = new QLabel("Manufacturer", this);
    auto* groupLabel = new QLabel("Group", this);
    auto* vppLabel = new QLabel("Vpp", this);
    auto* ramLabel = new QLabel("RAM", this);
    auto* flashLabel = new QLabel("FLASH", this);
    auto* vccLabel = new QLabel("Vcc", this);
    auto* packageLabel = new QLabel("Package", this);
    for (int f = 0; f < kDeviceFieldCount; ++f) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(Id(kFieldIds[f]));
        edit->setReadOnly(true);
        if (kRightAligned[f]) edit->setAlignment(Qt::AlignRight);
        fields_[static_cast<std::size_t>(f)] = edit;
    }
    startEnd_ = new QRadioButton("Start / End bank", this);
    startEnd_->setObjectName("40");
    individual_ = new QRadioButton("Individual banks", this);
    individual_->setObjectName("41");
    auto* startLabel = new QLabel("&Start Bank", this);
    startBank_ = DropDown(10, this);
    auto* endLabel = new QLabel("&End Bank", this);
    endBank_ = DropDown(11, this);
    auto* interfaceLabel = new QLabel("&Interface", this);
    interface_ = DropDown(12, this);
    auto* speedLabel = new QLabel("&Speed", this);
    speed_ = DropDown(13, this);
    banks_ = new CheckMarkList(30, 6, this);
    banks_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    select_ = new QPushButton("Select Device", this);
    select_->setObjectName("5");
    select_->setDefault(true);
    ok_ = new QPushButton("OK", this);
    ok_->setObjectName("1");
    cancel_ = new QPushButton("Cancel", this);
    cancel_->setObjectName("2");
    protectedLabel_ = new QLabel("&Protected\nareas", this);
    protectedLabel_->setObjectName("51");
    protected_ = new CheckMarkList(31, 3, this);
    protected_->setSelectionMode(QAbstractItemView::SingleSelection);
    startLabel->setBuddy(startBank_);
    endLabel->setBuddy(endBank_);
    interfaceLabel->setBuddy(interface_);
    speedLabel->setBuddy(speed_);
    protectedLabel_->setBuddy(protected_);

    using F = DeviceField;
    auto field = [this](F f) { return fields_[static_cast<std::size_t>(f)]; };
    auto* grid = new QGridLayout;
    grid->addWidget(deviceLabel, 0, 0);
    grid->addWidget(field(kFieldName), 0, 1, 1, 2);
    grid->addWidget(manufacturerLabel, 1, 0);
    grid->addLayout(Row({field(kFieldManufacturer), groupLabel, field(kFieldGroup)}), 1, 1, 1, 2);
    grid->addWidget(vppLabel, 2, 0);
    grid->addLayout(
        Row({field(kFieldVpp), ramLabel, field(kFieldRam), flashLabel, field(kFieldFlash)}), 2, 1,
        1, 2);
    grid->addWidget(vccLabel, 3, 0);
    grid->addLayout(Row({field(kFieldVcc), packageLabel, field(kFieldPackage)}), 3, 1, 1, 2);
    grid->addWidget(startEnd_, 4, 1);
    grid->addWidget(individual_, 4, 2);
    grid->addWidget(startLabel, 5, 0);
    grid->addWidget(startBank_, 5, 1);
    grid->addWidget(endLabel, 6, 0);
    grid->addWidget(endBank_, 6, 1);
    grid->addWidget(interfaceLabel, 7, 0);
    grid->addWidget(interface_, 7, 1);
    grid->addWidget(speedLabel, 8, 0);
    grid->addWidget(speed_, 8, 1);
    grid->addWidget(banks_, 5, 2, 5, 1);
    grid->setRowStretch(9, 1);
    grid->addWidget(protectedLabel_, 10, 0, Qt::AlignTop);
    grid->addWidget(protected_, 10, 1, 1, 2);
    grid->setColumnStretch(2, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(select_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(startBank_, &QComboBox::currentIndexChanged, this, [this](int item) {
        session_.Model().ChooseStartBank(item);
        Refresh();
    });
    connect(endBank_, &QComboBox::currentIndexChanged, this, [this](int item) {
        session_.Model().ChooseEndBank(item);
        Refresh();
    });
    connect(interface_, &QComboBox::currentIndexChanged, this,
            [this](int item) { session_.Model().ChooseInterface(item); });
    connect(speed_, &QComboBox::currentIndexChanged, this,
            [this](int item) { session_.Model().ChooseSpeed(item); });
    connect(individual_, &QRadioButton::toggled, this, [this](bool individual) {
        session_.Model().ChooseIndividualBanks(individual);
        Refresh();
    });
    // A click on a check mark or the space bar changes the item's check state: the model
    // toggles the flag and the list shows what it decided.
    connect(banks_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        session_.Model().ToggleBank(banks_->row(item));
        Refresh();
    });
    connect(protected_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        session_.Model().ToggleProtectedArea(protected_->row(item));
        Refresh();
    });
    connect(select_, &QPushButton::clicked, this, [this] { SelectDevice(); });
    connect(ok_, &QPushButton::clicked, this, [this] { Closing(session_.Ok(), true); });
    connect(cancel_, &QPushButton::clicked, this, &DevicePropertiesDialog::reject);

    Refresh();
    select_->setFocus();
}

void DevicePropertiesDialog::Refresh() {
    const DevicePropertiesModel& model = session_.Model();
    for (int f = 0; f < kDeviceFieldCount; ++f)
        fields_[static_cast<std::size_t>(f)]->setText(
            Latin1(model.DeviceData()[static_cast<std::size_t>(f)]));
    {
        QSignalBlocker block(individual_);
        (model.Copy().individualBanks ? individual_ : startEnd_)->setChecked(true);
    }
    ShowCombo(startBank_, model.StartBanks());
    ShowCombo(endBank_, model.EndBanks());
    ShowCombo(interface_, model.Interfaces());
    ShowCombo(speed_, model.Speeds());
    ShowCheckList(banks_, model.Banks());
    ShowCheckList(protected_, model.ProtectedAreas());

    bool tall = model.ShowsProtectedAreas();
    protectedLabel_->setVisible(tall);
    protected_->setVisible(tall);
    if (tall != showedProtectedAreas_ || !isVisible()) {
        showedProtectedAreas_ = tall;
        layout()->activate();
        QSize hint = sizeHint();
        resize(std::max(ScaledPixels(this, DevicePropertiesModel::kWidth), hint.width()),
               std::max(ScaledPixels(this, model.Height()), hint.height()));
    }
}

void DevicePropertiesDialog::SelectDevice() {
    session_.SelectDevice([this](SelectDeviceModel& list) -> std::optional<int> {
        SelectDeviceDialog dialog(list, ui_, this);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.Chosen();
    });
    Refresh();
}

void DevicePropertiesDialog::Closing(DeviceDialogClose close, bool accepted) {
    switch (close) {
    case DeviceDialogClose::Stay:
        ok_->setFocus();
        return;
    case DeviceDialogClose::Close:
        if (accepted) {
            QDialog::accept();
            return;
        }
        QDialog::reject();
        return;
    case DeviceDialogClose::Quit:
        QDialog::reject();
        return;
    }
}

void DevicePropertiesDialog::reject() {
    Closing(session_.Cancel(), false);
}

} // namespace vantrel
