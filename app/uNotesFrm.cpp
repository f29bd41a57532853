#include "uNotesFrm.h"

#include "ChnCalendarPicker.h"
#include "DayGrid.h"
#include "MainNotes.h"
#include "NotesSearchPanel.h"
#include "NotesWeekGrid.h"
#include "Widgets.h"
#include "uMain.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tavlo::app {

namespace {

const QSize kCalendarSize(419, 255);
constexpr int kDayEditorMinimumHeight = 96;
const QColor kFrameColour(0, 0, 0);

// Enter and Space run a button (the toolkit's buttons take only the keys
// the platform names, on some platforms none), and open the menu of a menu
// button.
class EnterClicks : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        const int key = keyEvent->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space) return false;
        if (keyEvent->isAutoRepeat()) return true;
        auto* button = qobject_cast<QAbstractButton*>(watched);
        if (!button || !button->isEnabled()) return false;
        auto* tool = qobject_cast<QToolButton*>(button);
        if (tool && tool->menu() && tool->popupMode() == QToolButton::InstantPopup)
            tool->showMenu();
        else
            button->click();
        return true;
    }
};

// A row of controls: a widget with a horizontal layout of its own.
QWidget* row(QWidget* parent, const char* name, QBoxLayout*& layout) {
    auto* holder = new QWidget(parent);
    holder->setObjectName(QLatin1String(name));
    layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    return holder;
}

// A place in `parent` that lent controls go into, kept in order among the
// window's own parts however often they come and go.
QBoxLayout* slot(QBoxLayout* parent, QBoxLayout::Direction direction, int stretch = 0) {
    auto* layout = new QBoxLayout(direction);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    parent->addLayout(layout, stretch);
    return layout;
}

QToolButton* ownButton(QWidget* parent, const char* name, const QString& caption, const QString& does) {
    QToolButton* button = notesCommandButton(parent, name, caption, does);
    button->setFont(pixelFont(QStringLiteral("宋体"), 12, true));
    button->setFixedHeight(22);
    return button;
}

}  // namespace

TNotesFrm::TNotesFrm(TMainFrm& main, NotesParts& parts) : QWidget(&main, Qt::Window), main_(main), parts_(parts) {
    setObjectName(QStringLiteral("NotesFrm"));
    setWindowTitle(QStringLiteral("日历记事"));
    setFont(pixelFont(QStringLiteral("宋体"), 12));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    // The button the keyboard is on stands out (the style alone shows
    // nothing on flat buttons).
    setStyleSheet(
        QStringLiteral("QToolButton:focus { border: 1px solid rgb(47, 111, 194); border-radius: 2px;"
                       " background: rgb(232, 240, 251); }"));
    createOwnControls();
    createLayout();
    resize(kClientSize);
}

TNotesFrm::~TNotesFrm() = default;

void TNotesFrm::createOwnControls() {
    btnOutPutCon =
        ownButton(this, "btnOutPutCon", QStringLiteral("内容导出"), QStringLiteral("把当天的日记导出为文本文件"));
    btnOutPutCon->setFixedWidth(66);
    connect(btnOutPutCon, &QToolButton::clicked, &main_, asCommand(&main_, &TMainFrm::N_OutPutConClick));

    btnNotesMore = ownButton(this, "btnNotesMore", QStringLiteral("更多"), QStringLiteral("更多记事命令"));
    auto* more = new QMenu(btnNotesMore);
    more->setObjectName(QStringLiteral("pmNotesMore"));
    N_ExportAllNotes = more->addAction(QStringLiteral("导出全部记事…"));
    N_ExportAllNotes->setObjectName(QStringLiteral("N_ExportAllNotes"));
    N_ExportAllNotes->setToolTip(QStringLiteral("把全部日记和周记导出为文本文件和一个网页"));
    more->setToolTipsVisible(true);
    btnNotesMore->setMenu(more);
    btnNotesMore->setPopupMode(QToolButton::InstantPopup);
    connect(N_ExportAllNotes, &QAction::triggered, &main_, asCommand(&main_, &TMainFrm::N_ExportAllNotesClick));

    searchPanel_ = new NotesSearchPanel(this);
    connect(searchPanel_, &NotesSearchPanel::searchRequested, &main_,
            [this](const QString& text) { runCommand(&main_, [&] { main_.SearchNotes(text); }); });
    connect(searchPanel_, &NotesSearchPanel::hitChosen, &main_,
            [this](const notes::SearchHit& hit) { runCommand(&main_, [&] { main_.OpenSearchHit(hit); }); });

    lblNotesStatus = make<QLabel>(this, "lblNotesStatus", {});
    lblNotesStatus->setWordWrap(true);
    lblNotesStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblNotesStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void TNotesFrm::createLayout() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    grid->setHorizontalSpacing(kMargin);
    grid->setVerticalSpacing(kSpacing);

    // The day column: its tools and buttons above the calendar and the day
    // editor, framed as one area.
    QBoxLayout* dayBar = nullptr;
    grid->addWidget(row(this, "NotesDayBar", dayBar), 0, 0);
    dayTools_ = slot(dayBar, QBoxLayout::LeftToRight);
    dayBar->addStretch(1);
    dayButtons_ = slot(dayBar, QBoxLayout::LeftToRight);

    auto* dayArea = new QFrame(this);
    dayArea->setObjectName(QStringLiteral("NotesDayArea"));
    dayArea->setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette framed = dayArea->palette();
    framed.setColor(QPalette::WindowText, kFrameColour);
    dayArea->setPalette(framed);
    auto* dayColumn = new QVBoxLayout(dayArea);
    dayColumn->setContentsMargins(1, 1, 1, 1);
    dayColumn->setSpacing(0);
    calendarSlot_ = slot(dayColumn, QBoxLayout::TopToBottom);
    auto* separator = new QFrame(dayArea);
    separator->setFrameStyle(QFrame::HLine | QFrame::Plain);
    separator->setPalette(framed);
    separator->setFixedHeight(1);
    dayColumn->addWidget(separator);
    dayEditorSlot_ = slot(dayColumn, QBoxLayout::TopToBottom, 1);
    grid->addWidget(dayArea, 1, 0);

    // The week column: page buttons and commands above the week grid.
    QBoxLayout* weekBar = nullptr;
    grid->addWidget(row(this, "NotesWeekBar", weekBar), 0, 1);
    weekButtons_ = slot(weekBar, QBoxLayout::LeftToRight);
    weekBar->addSpacing(kMargin);
    clearSlot_ = slot(weekBar, QBoxLayout::LeftToRight);
    weekBar->addStretch(1);
    weekBar->addWidget(btnOutPutCon);
    weekBar->addWidget(btnNotesMore);
    weekGrid_ = new NotesWeekGrid(this);
    grid->addWidget(weekGrid_, 1, 1);

    grid->addWidget(searchPanel_, 2, 0);
    grid->addWidget(lblNotesStatus, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);

    enterClicks_ = new EnterClicks(this);
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) button->installEventFilter(enterClicks_);
}

void TNotesFrm::open() {
    if (loans_.empty()) borrow();
    if (!placed_) placeOverMainWindow();
    show();
    raise();
    activateWindow();
}

void TNotesFrm::showStatus(const QString& text) {
    lblNotesStatus->setText(text);
}

void TNotesFrm::placeOverMainWindow() {
    // Left to itself a window manager may put the window partly off the
    // screen; centred on the main window and kept inside the screen's free
    // area, all of it can be reached. Later opens keep where the user left it.
    const QRect available = main_.screen()->availableGeometry();
    QRect place({0, 0}, size().boundedTo(available.size()));
    place.moveCenter(main_.frameGeometry().center());
    place.moveLeft(std::max(available.left(), std::min(place.left(), available.right() + 1 - place.width())));
    place.moveTop(std::max(available.top(), std::min(place.top(), available.bottom() + 1 - place.height())));
    resize(place.size());
    move(place.topLeft());
    placed_ = true;
}

void TNotesFrm::borrow() {
    NotesParts& n = parts_;
    for (QWidget* tool : std::initializer_list<QWidget*>{n.btnGou, n.btnX, n.btnDate, n.btnRedColor})
        lendInto(dayTools_, tool);
    for (QWidget* button : std::initializer_list<QWidget*>{n.btnAbc_A, n.btnAbc_B, n.btnAbc_C})
        lendInto(dayButtons_, button);
    for (QToolButton* button : n.weekButtons) lendInto(weekButtons_, button);
    lendInto(clearSlot_, n.btnClearCon);
    n.chnRili->setFixedSize(kCalendarSize);
    lendInto(calendarSlot_, n.chnRili);
    n.rdtAbc->setMinimumHeight(kDayEditorMinimumHeight);
    lendInto(dayEditorSlot_, n.rdtAbc);
    for (int i = 0; i < notes::kWeekEditors; ++i) {
        lend(n.weekLabels[i], weekGrid_);
        lend(n.redt[i], weekGrid_);
    }
    weekGrid_->place(n.weekLabels, n.redt);
    for (const Loan& loan : loans_)
        if (qobject_cast<QAbstractButton*>(loan.widget)) loan.widget->installEventFilter(enterClicks_);
    setTabOrder();
}

void TNotesFrm::lendInto(QBoxLayout* layout, QWidget* widget) {
    lend(widget, layout->parentWidget());
    layout->addWidget(widget);
}

void TNotesFrm::lend(QWidget* widget, QWidget* holder) {
    loans_.push_back({widget, widget->parentWidget(), widget->geometry(), widget->isHidden()});
    widget->setParent(holder);
    widget->show();
}

// Tab goes through the commands as they stand, left to right and top to
// bottom, then through the editors and the search.
void TNotesFrm::setTabOrder() {
    NotesParts& n = parts_;
    std::vector<QWidget*> chain = {n.btnGou, n.btnX, n.btnDate, n.btnRedColor, n.btnAbc_A, n.btnAbc_B, n.btnAbc_C};
    chain.insert(chain.end(), n.weekButtons.begin(), n.weekButtons.end());
    chain.insert(chain.end(), {n.btnClearCon, btnOutPutCon, btnNotesMore});
    if (auto* days = n.chnRili->findChild<calendar::TDayGrid*>()) chain.push_back(days);
    chain.push_back(n.rdtAbc);
    chain.insert(chain.end(), n.redt.begin(), n.redt.end());
    for (QWidget* widget : searchPanel_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (widget->focusPolicy() & Qt::TabFocus) chain.push_back(widget);
    for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void TNotesFrm::giveBack() {
    // In reverse, so that each control returns to its old place among its
    // siblings' stacking order as well.
    for (auto it = loans_.rbegin(); it != loans_.rend(); ++it) {
        if (!it->widget || !it->parent) continue;
        it->widget->setParent(it->parent);
        it->widget->setVisible(!it->hidden);
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
