#include "ui/qt/QtUi.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

namespace vantrel {
namespace {

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
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

} // namespace

void QtUi::SetWindow(QWidget* window, QStatusBar* statusBar) {
    window_ = window;
    statusBar_ = statusBar;
    for (int pane = 1; pane <= 2; ++pane) {
        panes_[pane] = new QLabel(statusBar);
        panes_[pane]->setMinimumWidth(pane == 1 ? 120 : 240);
        statusBar->addPermanentWidget(panes_[pane]);
    }
}

MsgAnswer QtUi::MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                           MsgIcon icon, MsgAnswer defaultAnswer) {
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
    if (pane == 0) {
        if (statusBar_) statusBar_->showMessage(Latin1(text));
    } else if (pane <= 2 && panes_[pane]) {
        panes_[pane]->setText(Latin1(text));
    }
}

QWidget* QtUi::PaneWidget(int pane) const {
    return pane >= 1 && pane <= 2 ? panes_[pane] : nullptr;
}

void QtUi::PumpMessages() {
    QApplication::processEvents();
}

void QtUi::PostQuit(int code) {
    QApplication::exit(code);
}

void QtUi::Repaint() {
    if (window_) window_->update();
}

} // namespace vantrel
