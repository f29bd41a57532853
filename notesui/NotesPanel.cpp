#include "NotesPanel.h"

#include "ChnCalendarPicker.h"
#include "Controls.h"
#include "DayGrid.h"
#include "NotesButtons.h"
#include "NotesSearchPanel.h"
#include "NotesWeekGrid.h"
#include "TImage.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <vector>

namespace tavlo::notesui {

using widgets::make;
using widgets::pixelFont;

namespace {

const QSize kCalendarSize(419, 255);
constexpr int kDayEditorMinimumHeight = 96;
const QColor kFrameColour(0, 0, 0);
const QColor kTitleStrip(216, 227, 243);

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

// Calls back when a watched editor loses the focus to another control of
// the program (not to its own context menu).
class FocusLost : public QObject {
public:
    FocusLost(QObject* parent, std::function<void(QObject*)> lost) : QObject(parent), lost_(std::move(lost)) {}

protected:
    bool eventFilter(QObject* editor, QEvent* event) override {
        if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            lost_(editor);
        return false;
    }

private:
    std::function<void(QObject*)> lost_;
};

QToolButton* commandButton(QWidget* parent, const char* name, const QString& caption, int pixels, QSize size,
                           const QString& does) {
    QToolButton* button = notesCommandButton(parent, name, caption, does);
    button->setFont(pixelFont(QStringLiteral("宋体"), pixels, true));
    button->setFixedSize(size);
    return button;
}

QTextEdit* noteEditor(QWidget* parent, const char* name, QColor background, const QString& role) {
    auto* editor = make<QTextEdit>(parent, name, {});
    editor->setFont(pixelFont(QStringLiteral("宋体"), 15));
    editor->setAcceptRichText(true);
    QPalette palette = editor->palette();
    palette.setColor(QPalette::Base, background);
    editor->setPalette(palette);
    editor->setFrameShape(QFrame::NoFrame);
    editor->setContextMenuPolicy(Qt::CustomContextMenu);
    editor->setAccessibleName(role);
    // Tab moves on to the next command or editor, so that the keyboard
    // reaches everything; a note keeps its tabs, it just cannot get new ones.
    editor->setTabChangesFocus(true);
    return editor;
}

// A framed box of `size` with an optional caption: the pictures of the date
// stamp (a pale leaf saying 日期) and of the colour command (a red bar).
QPixmap toolPicture(QSize size, QColor frame, QColor fill, const QString& caption = {}) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(frame);
    painter.setBrush(fill);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    painter.setFont(pixelFont(QStringLiteral("宋体"), 11));
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, caption);
    return pixmap;
}

// A tool of the day editor: a picture, never shown, and the same command as
// a button showing that picture.
widgets::TImage* toolImage(QWidget* parent, const char* name, const QPixmap& picture, QToolButton* button) {
    auto* image = make<widgets::TImage>(parent, name, QRect(QPoint(0, 0), picture.size()));
    image->setPicture(picture);
    image->setCursor(Qt::PointingHandCursor);
    image->hide();
    button->setIcon(picture);
    button->setIconSize(picture.size());
    return image;
}

// A row of controls: a widget with a horizontal layout of its own.
QWidget* row(QWidget* parent, const char* name, QBoxLayout*& layout) {
    auto* holder = new QWidget(parent);
    holder->setObjectName(QLatin1String(name));
    layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    return holder;
}

// A group of buttons side by side within a row.
template <class Range>
void addGroup(QBoxLayout* row, const Range& buttons) {
    auto* group = new QHBoxLayout;
    group->setContentsMargins(0, 0, 0, 0);
    group->setSpacing(3);
    for (QWidget* button : buttons) group->addWidget(button);
    row->addLayout(group);
}

}  // namespace

NotesPanel::NotesPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("NotesPanel"));
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
    createDayArea();
    createWeekPage();
    createCommands();
    createEditorMenu();
    createLayout();
    watchEditors();
    setTabOrder();
}

// The watcher goes first: the editors' focus leaves them as they are
// destroyed, which must save nothing.
NotesPanel::~NotesPanel() {
    delete focusWatch_;
}

void NotesPanel::showStatus(const QString& text) {
    lblNotesStatus->setText(text);
}

// The calendar above the day editor, framed as one area.
void NotesPanel::createDayArea() {
    dayArea_ = new QFrame(this);
    dayArea_->setObjectName(QStringLiteral("NotesDayArea"));
    dayArea_->setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette framed = dayArea_->palette();
    framed.setColor(QPalette::WindowText, kFrameColour);
    dayArea_->setPalette(framed);
    auto* inFrame = new QVBoxLayout(dayArea_);
    inFrame->setContentsMargins(1, 1, 1, 1);
    pnlABC = make<QWidget>(dayArea_, "pnlABC", {});
    inFrame->addWidget(pnlABC);

    chnRili = make<TChnCalendar>(pnlABC, "chnRili", {});
    chnRili->setFixedSize(kCalendarSize);
    chnRili->setShowTitle(true);
    chnRili->setShowFrame(false);
    chnRili->setFontDate(pixelFont(QStringLiteral("黑体"), 12, true));
    chnRili->setFontCnDate(pixelFont(QStringLiteral("宋体"), 12));
    auto* separator = new QFrame(pnlABC);
    separator->setFrameStyle(QFrame::HLine | QFrame::Plain);
    separator->setPalette(framed);
    separator->setFixedHeight(1);
    rdtAbc = noteEditor(pnlABC, "rdtAbc", QColor(192, 220, 192), QStringLiteral("日记"));
    rdtAbc->setMinimumHeight(kDayEditorMinimumHeight);
    auto* column = new QVBoxLayout(pnlABC);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(chnRili);
    column->addWidget(separator);
    column->addWidget(rdtAbc, 1);

    // The three day buttons show the same note on three paper colours.
    static const char* const names[kDayPapers] = {"btnAbc_A", "btnAbc_B", "btnAbc_C"};
    static const char* const papers[kDayPapers] = {"浅黄色", "浅紫色", "浅绿色"};
    for (int k = 0; k < kDayPapers; ++k) {
        const QString letter(QChar(u'A' + k));
        dayButtons_[k] = commandButton(
            this, names[k], letter, 16, {23, 22},
            QStringLiteral("日记 %1：在%2的纸上显示所选日期的日记").arg(letter, QString::fromUtf8(papers[k])));
    }
    btnGou = commandButton(this, "btnGou", QStringLiteral("√"), 12, {23, 22}, QStringLiteral("在日记中插入对勾 √"));
    btnX = commandButton(this, "btnX", QStringLiteral("X"), 12, {23, 22}, QStringLiteral("在日记中插入叉号 ×"));
    btnDate = commandButton(this, "btnDate", QString(), 12, {48, 22}, QStringLiteral("在日记中插入今天的日期"));
    btnRedColor =
        commandButton(this, "btnRedColor", QString(), 12, {26, 22}, QStringLiteral("设置日记中所选文字的颜色"));
    imgDate =
        toolImage(this, "imgDate",
                  toolPicture({44, 15}, QColor(90, 110, 150), QColor(235, 241, 250), QStringLiteral("日期")), btnDate);
    imgRedColor =
        toolImage(this, "imgRedColor", toolPicture({20, 11}, QColor(120, 0, 0), QColor(255, 0, 0)), btnRedColor);
}

void NotesPanel::createWeekPage() {
    weekGrid_ = new NotesWeekGrid(this);
    static const char* const labels[6] = {"周 一", "周 二", "周 三", "周 四", "周 五", "周 六/日"};
    static const char* const roles[6] = {"周记：周一", "周记：周二", "周记：周三",
                                         "周记：周四", "周记：周五", "周记：周六和周日"};
    for (int i = 0; i < 6; ++i) {
        const QColor background = i == 5 ? QColor(247, 247, 247) : QColor(Qt::white);
        const QByteArray name = "redt" + QByteArray::number(i + 1);
        redt[i] = noteEditor(weekGrid_, name.constData(), background, QString::fromUtf8(roles[i]));
        weekLabels[i] = make<QLabel>(weekGrid_, "", {}, QString::fromUtf8(labels[i]));
        weekLabels[i]->setFont(pixelFont(QStringLiteral("宋体"), 15));
        // On its title strip, wherever it is placed.
        weekLabels[i]->setAlignment(Qt::AlignCenter);
        weekLabels[i]->setAutoFillBackground(true);
        QPalette strip = weekLabels[i]->palette();
        strip.setColor(QPalette::Window, kTitleStrip);
        weekLabels[i]->setPalette(strip);
    }
    weekGrid_->place(weekLabels, redt);

    static const char* const names[kWeekPages] = {"btnA", "btnB", "btnC", "btnD", "btnE"};
    for (int k = 0; k < kWeekPages; ++k) {
        const QString letter(QChar(u'A' + k));
        weekButtons_[k] = commandButton(this, names[k], letter, 16, {23, 22},
                                        QStringLiteral("周记 %1 页：保存这一页，打开第 %1 页").arg(letter));
        weekButtons_[k]->setAccessibleName(QStringLiteral("周记 %1 页").arg(letter));
    }
    btnClearCon = commandButton(this, "btnClearCon", QStringLiteral("清空内容"), 12, {66, 22},
                                QStringLiteral("清空这一页周记的六栏内容"));
}

void NotesPanel::createCommands() {
    btnOutPutCon = commandButton(this, "btnOutPutCon", QStringLiteral("内容导出"), 12, {66, 22},
                                 QStringLiteral("把当天的日记导出为文本文件"));
    btnNotesMore = notesCommandButton(this, "btnNotesMore", QStringLiteral("更多"), QStringLiteral("更多记事命令"));
    btnNotesMore->setFont(pixelFont(QStringLiteral("宋体"), 12, true));
    btnNotesMore->setFixedHeight(22);
    auto* more = new QMenu(btnNotesMore);
    more->setObjectName(QStringLiteral("pmNotesMore"));
    N_ExportAllNotes = more->addAction(QStringLiteral("导出全部记事…"));
    N_ExportAllNotes->setObjectName(QStringLiteral("N_ExportAllNotes"));
    N_ExportAllNotes->setToolTip(QStringLiteral("把全部日记和周记导出为文本文件和一个网页"));
    more->setToolTipsVisible(true);
    btnNotesMore->setMenu(more);
    btnNotesMore->setPopupMode(QToolButton::InstantPopup);

    searchPanel_ = new NotesSearchPanel(this);
    lblNotesStatus = make<QLabel>(this, "lblNotesStatus", {});
    lblNotesStatus->setWordWrap(true);
    // Its lines wrap to the width the window has; a long word never widens it.
    lblNotesStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblNotesStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblNotesStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

// One context menu for every note editor; its commands act on rdtAbc.
void NotesPanel::createEditorMenu() {
    pmDeskTopMonCal = new QMenu(this);
    pmDeskTopMonCal->setObjectName(QStringLiteral("pmDeskTopMonCal"));
    struct Item {
        const char* name;
        const char* caption;  // none: a separator
    };
    // The last caption names the key; the item itself has no shortcut.
    static const Item items[] = {{"N1", "复制"}, {"N2", "粘贴"},  {"N9", "删除"},
                                 {"N3", "剪切"}, {"N6", nullptr}, {"V1", "打V"},
                                 {"X1", "打X"},  {"N5", nullptr}, {"CtrlZ1", "撤销(Ctrl+Z)"}};
    for (const Item& item : items) {
        QAction* action = item.caption ? pmDeskTopMonCal->addAction(QString::fromUtf8(item.caption))
                                       : pmDeskTopMonCal->addSeparator();
        action->setObjectName(QLatin1String(item.name));
    }
    std::vector<QTextEdit*> editors(redt.begin(), redt.end());
    editors.push_back(rdtAbc);
    for (QTextEdit* editor : editors)
        connect(editor, &QWidget::customContextMenuRequested, this,
                [this, editor](const QPoint& pos) { pmDeskTopMonCal->popup(editor->mapToGlobal(pos)); });
}

void NotesPanel::createLayout() {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    grid->setHorizontalSpacing(kMargin);
    grid->setVerticalSpacing(kSpacing);

    // The day column: its tools and buttons above the day area.
    QBoxLayout* dayBar = nullptr;
    grid->addWidget(row(this, "NotesDayBar", dayBar), 0, 0);
    addGroup(dayBar, std::array<QWidget*, 4>{btnGou, btnX, btnDate, btnRedColor});
    dayBar->addStretch(1);
    addGroup(dayBar, dayButtons_);

    grid->addWidget(dayArea_, 1, 0);

    // The week column: page buttons and commands above the week grid.
    QBoxLayout* weekBar = nullptr;
    grid->addWidget(row(this, "NotesWeekBar", weekBar), 0, 1);
    addGroup(weekBar, weekButtons_);
    weekBar->addSpacing(kMargin);
    addGroup(weekBar, std::array<QWidget*, 1>{btnClearCon});
    weekBar->addStretch(1);
    weekBar->addWidget(btnOutPutCon);
    weekBar->addWidget(btnNotesMore);
    grid->addWidget(weekGrid_, 1, 1);

    grid->addWidget(searchPanel_, 2, 0);
    grid->addWidget(lblNotesStatus, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);

    auto* enterClicks = new EnterClicks(this);
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) button->installEventFilter(enterClicks);
}

void NotesPanel::watchEditors() {
    focusWatch_ = new FocusLost(this, [this](QObject* editor) {
        if (editor == rdtAbc)
            emit dayEditorLeft();
        else
            emit weekEditorLeft();
    });
    for (QTextEdit* editor : redt) editor->installEventFilter(focusWatch_);
    rdtAbc->installEventFilter(focusWatch_);
    // The editor the user last worked in, for the colour button reached by Tab.
    connect(qApp, &QApplication::focusChanged, focusWatch_, [this](QWidget*, QWidget* now) {
        if (auto* editor = qobject_cast<QTextEdit*>(now); editor && editor->document()) lastEditor_ = editor;
    });
}

// Tab goes through the commands as they stand, left to right and top to
// bottom, then through the editors and the search.
void NotesPanel::setTabOrder() {
    std::vector<QWidget*> chain = {btnGou, btnX, btnDate, btnRedColor};
    chain.insert(chain.end(), dayButtons_.begin(), dayButtons_.end());
    chain.insert(chain.end(), weekButtons_.begin(), weekButtons_.end());
    chain.insert(chain.end(), {btnClearCon, btnOutPutCon, btnNotesMore});
    if (auto* days = chnRili->findChild<calendar::TDayGrid*>()) chain.push_back(days);
    chain.push_back(rdtAbc);
    chain.insert(chain.end(), redt.begin(), redt.end());
    for (QWidget* widget : searchPanel_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (widget->focusPolicy() & Qt::TabFocus) chain.push_back(widget);
    for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

}  // namespace tavlo::notesui
