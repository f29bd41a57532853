#include "uInfoFrm.h"

#include "Artwork.h"
#include "Command.h"
#include "ComposeTexts.h"
#include "Controls.h"
#include "MessageBoxes.h"
#include "SettingsFile.h"
#include "TImage.h"
#include "WindowFrame.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace tavlo {

namespace texts = compose::texts;

TInforFrm::TInforFrm(GlobalState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), state_(state) {
    setObjectName(QStringLiteral("TInforFrm"));
    setWindowTitle(widgets::kApplicationTitle);
    setFixedSize(344, 156);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    frame_ = new widgets::WindowFrame(this, 0);

    using widgets::make;
    shpBG = make<widgets::TShape>(this, "shpBG", rect(), Qt::white, QColor(216, 227, 243));
    imgques = widgets::picture(this, "imgques", {32, 24, 45, 46}, widgets::art::warning);
    lblInfo = make<QLabel>(this, "lblInfo", {}, QString::fromUtf8(texts::kQuestion));
    lblInfo->setFont(widgets::pixelFont(QStringLiteral("宋体"), 14, true));
    lblInfo->move(112, 40);
    lblInfo->adjustSize();

    chkSetBgInfo = make<QCheckBox>(this, "chkSetBgInfo", {112, 82, 121, 17}, QString::fromUtf8(texts::kDontAskAgain));
    btnok = make<QPushButton>(this, "btnok", {176, 120, 75, 25}, QString::fromUtf8(texts::kOk));
    btncancel = make<QPushButton>(this, "btncancel", {256, 120, 75, 25}, QString::fromUtf8(texts::kCancel));
    btnClose = make<QPushButton>(this, "btnClose", {321, 1, 20, 18}, QStringLiteral("X"));
    btnClose->setFont(widgets::pixelFont(QStringLiteral("Arial"), 12, true));
    btnClose->setFlat(true);
    describeControls();
    // Enter presses the button that has the focus, "确  定" from anywhere
    // else; Esc is handled in keyPressEvent.
    btnok->setDefault(true);

    connect(btnok, &QPushButton::clicked, this, widgets::asCommand(this, &TInforFrm::btnokClick));
    connect(btncancel, &QPushButton::clicked, this, widgets::asCommand(this, &TInforFrm::btncancelClick));
    connect(btnClose, &QPushButton::clicked, this, widgets::asCommand(this, &TInforFrm::btnCloseClick));
    connect(shpBG, &widgets::TShape::mouseDown, this, &TInforFrm::shpBGMouseDown);
}

// What the controls are to the keyboard and screen readers.
void TInforFrm::describeControls() {
    imgques->setAccessibleName(QString::fromUtf8(texts::kWarningName));
    chkSetBgInfo->setToolTip(QString::fromUtf8(texts::kDontAskAgainTip));
    btnok->setAccessibleName(QString::fromUtf8(texts::kOkName));
    btnok->setToolTip(QString::fromUtf8(texts::kOkTip));
    btncancel->setAccessibleName(QString::fromUtf8(texts::kCancelName));
    btncancel->setToolTip(QString::fromUtf8(texts::kCancelTip));
    btnClose->setAccessibleName(QString::fromUtf8(texts::kCloseName));
    btnClose->setToolTip(QString::fromUtf8(texts::kCloseTip));
    widgets::setTabChain({chkSetBgInfo, btnok, btncancel, btnClose});
}

void TInforFrm::ask() {
    // Any way of closing other than "确  定" answers no.
    state_.ApplyConfirmed = 0;
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->frameGeometry();
        move(area.center() - rect().center());
    }
    btnok->setFocus();
    exec();
}

// Esc presses "取  消", as the user would with the mouse; everything else as
// any dialog does (Enter presses the default button "确  定").
void TInforFrm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        btncancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TInforFrm::btnokClick() {
    if (chkSetBgInfo->isChecked()) {
        state_.ConfirmApply = false;
        writeSettingsLines(state_.ConfigSetBgPath, {"0"});
    }
    state_.ApplyConfirmed = 1;
    accept();
}

void TInforFrm::btncancelClick() {
    state_.ApplyConfirmed = 0;
    reject();
}

void TInforFrm::btnCloseClick() {
    state_.ApplyConfirmed = 0;
    reject();
}

void TInforFrm::shpBGMouseDown(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) frame_->startMove(event->globalPosition());
}

}  // namespace tavlo
