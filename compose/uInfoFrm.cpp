#include "uInfoFrm.h"

#include "Artwork.h"
#include "Controls.h"
#include "MessageBoxes.h"
#include "SettingsFile.h"
#include "TImage.h"
#include "WindowFrame.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace tavlo {

namespace {

QFont pixelFont(const QString& family, int pixels, bool bold) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

}  // namespace

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

    shpBG = new widgets::TShape(Qt::white, QColor(216, 227, 243), this);
    shpBG->setObjectName(QStringLiteral("shpBG"));
    shpBG->setGeometry(rect());

    imgques = new widgets::TImage(this);
    imgques->setObjectName(QStringLiteral("imgques"));
    imgques->setGeometry(32, 24, 45, 46);
    imgques->setPicture(widgets::renderArtwork(widgets::art::warning));

    lblInfo = new QLabel(QStringLiteral("您确定要更换壁纸？"), this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setFont(pixelFont(QStringLiteral("宋体"), 14, true));
    lblInfo->move(112, 40);
    lblInfo->adjustSize();

    chkSetBgInfo = new QCheckBox(QStringLiteral("下次不再提示"), this);
    chkSetBgInfo->setObjectName(QStringLiteral("chkSetBgInfo"));
    chkSetBgInfo->setGeometry(112, 82, 121, 17);

    btnok = new QPushButton(QStringLiteral("确  定"), this);
    btnok->setObjectName(QStringLiteral("btnok"));
    btnok->setGeometry(176, 120, 75, 25);
    btncancel = new QPushButton(QStringLiteral("取  消"), this);
    btncancel->setObjectName(QStringLiteral("btncancel"));
    btncancel->setGeometry(256, 120, 75, 25);
    btnClose = new QPushButton(QStringLiteral("X"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setGeometry(321, 1, 20, 18);
    btnClose->setFont(pixelFont(QStringLiteral("Arial"), 12, true));
    btnClose->setFlat(true);
    for (QPushButton* b : {btnok, btncancel, btnClose}) b->setAutoDefault(false);

    const auto command = [this](void (TInforFrm::*handler)()) {
        return [this, handler] { widgets::runCommand(this, [this, handler] { (this->*handler)(); }); };
    };
    connect(btnok, &QPushButton::clicked, this, command(&TInforFrm::btnokClick));
    connect(btncancel, &QPushButton::clicked, this, command(&TInforFrm::btncancelClick));
    connect(btnClose, &QPushButton::clicked, this, command(&TInforFrm::btnCloseClick));
    connect(shpBG, &widgets::TShape::mouseDown, this, &TInforFrm::shpBGMouseDown);
}

void TInforFrm::ask() {
    // Any way of closing other than "确  定" answers no.
    state_.ApplyConfirmed = 0;
    if (QWidget* owner = parentWidget()) {
        const QRect area = owner->frameGeometry();
        move(area.center() - rect().center());
    }
    exec();
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
