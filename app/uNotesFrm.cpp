#include "uNotesFrm.h"

#include "MainNotes.h"
#include "Widgets.h"
#include "uMain.h"

#include <QCloseEvent>
#include <QScreen>
#include <QStackedWidget>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>

namespace tavlo::app {

namespace {
constexpr int kRow = 6;      // the buttons' row
constexpr int kTop = 34;     // the panels below it
constexpr int kRight = 445;  // the week page's column
}  // namespace

TNotesFrm::TNotesFrm(TMainFrm& main, NotesParts& parts, QWidget* weekPage)
    : QWidget(&main, Qt::Window), main_(main), parts_(parts), weekPage_(weekPage) {
    setObjectName(QStringLiteral("NotesFrm"));
    setWindowTitle(QStringLiteral("日历记事"));
    setFont(pixelFont(QStringLiteral("宋体"), 12));
    setFixedSize(kClientSize);  // its controls have fixed places: nothing to gain from a larger window
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);

    btnOutPutCon = make<QToolButton>(this, "btnOutPutCon", {338, kRow, 66, 22});
    btnOutPutCon->setText(QStringLiteral("内容导出"));
    btnOutPutCon->setAutoRaise(true);
    btnOutPutCon->setFont(pixelFont(QStringLiteral("宋体"), 12, true));
    connect(btnOutPutCon, &QToolButton::clicked, &main_, asCommand(&main_, &TMainFrm::N_OutPutConClick));
}

TNotesFrm::~TNotesFrm() = default;

void TNotesFrm::open() {
    if (loans_.empty()) borrow();
    if (!placed_) placeOverMainWindow();
    show();
    raise();
    activateWindow();
}

void TNotesFrm::placeOverMainWindow() {
    // Left to itself a window manager may put the window partly off the
    // screen; centred on the main window and kept inside the screen's free
    // area, all of it can be reached. Later opens keep where the user left it.
    const QRect available = main_.screen()->availableGeometry();
    QRect place({0, 0}, kClientSize);
    place.moveCenter(main_.frameGeometry().center());
    place.moveLeft(std::max(available.left(), std::min(place.left(), available.right() + 1 - place.width())));
    place.moveTop(std::max(available.top(), std::min(place.top(), available.bottom() + 1 - place.height())));
    move(place.topLeft());
    placed_ = true;
}

void TNotesFrm::borrow() {
    NotesParts& n = parts_;
    lend(n.btnGou, {8, kRow, 23, 22});
    lend(n.btnX, {34, kRow, 23, 22});
    lend(n.imgDate, {62, kRow + 4, 44, 15});
    lend(n.imgRedColor, {112, kRow + 6, 20, 11});
    lend(n.btnAbc_A, {230, kRow, 23, 22});
    lend(n.btnAbc_B, {256, kRow, 23, 22});
    lend(n.btnAbc_C, {282, kRow, 23, 22});
    lend(n.pnlABC, {8, kTop, 423, 381});
    for (int k = 0; k < 5; ++k) lend(n.weekButtons[k], {kRight + 26 * k, kRow, 23, 22});
    lend(n.btnClearCon, {kRight + 495 - 66, kRow, 66, 22});
    lend(weekPage_, {kRight, kTop, 495, 371});
}

void TNotesFrm::lend(QWidget* widget, QRect place) {
    Loan loan{widget, widget->parentWidget(), widget->geometry(), widget->isHidden()};
    if (auto* stack = qobject_cast<QStackedWidget*>(loan.parent.data())) {
        loan.stackIndex = stack->indexOf(widget);
        stack->removeWidget(widget);
    }
    loans_.push_back(loan);
    widget->setParent(this);
    widget->setGeometry(place);
    widget->show();
}

void TNotesFrm::giveBack() {
    // In reverse, so that each control returns to its old place among its
    // siblings' stacking order as well.
    for (auto it = loans_.rbegin(); it != loans_.rend(); ++it) {
        if (!it->widget || !it->parent) continue;
        if (auto* stack = qobject_cast<QStackedWidget*>(it->parent.data())) {
            QWidget* current = stack->currentWidget();
            stack->insertWidget(it->stackIndex, it->widget);
            if (current) stack->setCurrentWidget(current);
        } else {
            it->widget->setParent(it->parent);
            it->widget->setVisible(!it->hidden);
        }
        it->widget->setGeometry(it->geometry);
    }
    loans_.clear();
}

void TNotesFrm::closeEvent(QCloseEvent* event) {
    main_.NotesFrmClose();
    giveBack();
    event->accept();
}

}  // namespace tavlo::app
