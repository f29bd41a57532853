// The main window's calendar and notes controls, placed as designed; none of
// them shows in the window's own layout (the "日历记事" window borrows them).
#include "ChnCalendarPicker.h"
#include "MainNotes.h"
#include "Widgets.h"
#include "uMain.h"

#include <QAction>
#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QResizeEvent>
#include <QStackedWidget>
#include <QTextEdit>
#include <QToolButton>

namespace tavlo::app {

namespace {

const QSize kWeekPageDesign(495, 371);
const QColor kTitleStrip(216, 227, 243);

// A command button at its place in the main window, hidden there.
QToolButton* noteButton(QWidget* parent, const char* name, QRect geometry, const QString& caption, int pixels,
                        const QString& does) {
    QToolButton* button = notesCommandButton(parent, name, caption, does);
    button->setFont(pixelFont(QStringLiteral("宋体"), pixels, true));
    button->setGeometry(geometry);
    button->setFixedSize(geometry.size());
    button->hide();
    return button;
}

QTextEdit* noteEditor(QWidget* parent, const char* name, QRect geometry, QColor background, const QString& role) {
    auto* editor = make<QTextEdit>(parent, name, geometry);
    editor->setFont(pixelFont(QStringLiteral("宋体"), 15));
    editor->setAcceptRichText(true);
    QPalette palette = editor->palette();
    palette.setColor(QPalette::Base, background);
    editor->setPalette(palette);
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

// Keeps the week page's controls at their anchors when the page is resized.
class PageAnchors : public QObject {
public:
    PageAnchors(QWidget* page, QSize design) : QObject(page), anchors(design) { page->installEventFilter(this); }
    Anchors anchors;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) anchors.apply(static_cast<QResizeEvent*>(event)->size());
        return false;
    }
};

}  // namespace

QToolButton* notesCommandButton(QWidget* parent, const char* name, const QString& caption, const QString& does) {
    auto* button = make<QToolButton>(parent, name, {});
    button->setText(caption);
    button->setAutoRaise(true);
    button->setToolTip(does);
    button->setAccessibleName(does);
    return button;
}

void TMainFrm::CreateCalendarAndNotes() {
    CreateWeekPage();
    CreateDayArea();
}

void TMainFrm::CreateWeekPage() {
    NotesParts& n = *notes_;
    tsMain->resize(kWeekPageDesign);
    tsMain->setAutoFillBackground(true);
    auto* anchors = new PageAnchors(tsMain, kWeekPageDesign);
    const int all = Anchors::Left | Anchors::Top | Anchors::Right | Anchors::Bottom;
    const int strip = Anchors::Left | Anchors::Top | Anchors::Right;
    const int column = Anchors::Top | Anchors::Bottom;

    // Title strips across the top of each row, then the lines between and
    // around the columns.
    for (int top : {0, 216})
        anchors->anchors.anchor(make<TShape>(tsMain, "", {-280, top, 775, 25}, kTitleStrip, kTitleStrip), strip);
    for (int left : {154, 333})
        anchors->anchors.anchor(make<TShape>(tsMain, "", {left, 0, 1, 371}, Qt::black, Qt::black), column);
    anchors->anchors.anchor(make<TShape>(tsMain, "", {0, 0, 1, 371}, Qt::black, Qt::black), Anchors::Left | column);
    anchors->anchors.anchor(make<TShape>(tsMain, "", {494, 0, 1, 371}, Qt::black, Qt::black), Anchors::Right | column);
    anchors->anchors.anchor(make<TShape>(tsMain, "", {0, 370, 495, 1}, Qt::black, Qt::black),
                            Anchors::Left | Anchors::Right | Anchors::Bottom);

    struct Place {
        const char* editor;
        QRect geometry;
        const char* label;
        QPoint labelAt;
    };
    static const Place places[notes::kWeekEditors] = {
        {"redt1", {1, 24, 107, 127}, "周 一", {17, 8}},       {"redt2", {178, 25, 130, 130}, "周 二", {203, 8}},
        {"redt3", {375, 26, 115, 130}, "周 三", {417, 8}},    {"redt4", {2, 240, 110, 125}, "周 四", {17, 223}},
        {"redt5", {176, 240, 130, 127}, "周 五", {206, 223}}, {"redt6", {376, 242, 108, 125}, "周 六/日", {416, 223}},
    };
    static const char* const roles[notes::kWeekEditors] = {"周记：周一", "周记：周二", "周记：周三",
                                                           "周记：周四", "周记：周五", "周记：周六和周日"};
    for (int i = 0; i < notes::kWeekEditors; ++i) {
        const Place& p = places[i];
        const QColor background = i == 5 ? QColor(247, 247, 247) : QColor(Qt::white);
        n.redt[i] = noteEditor(tsMain, p.editor, p.geometry, background, QString::fromUtf8(roles[i]));
        // The page's own lines frame the editors.
        n.redt[i]->setFrameShape(QFrame::NoFrame);
        anchors->anchors.anchor(n.redt[i], all);
        n.weekLabels[i] = make<QLabel>(tsMain, "", {}, QString::fromUtf8(p.label));
        n.weekLabels[i]->setFont(pixelFont(QStringLiteral("宋体"), 15));
        n.weekLabels[i]->adjustSize();
        n.weekLabels[i]->move(p.labelAt);
        // On its title strip, wherever it is placed.
        n.weekLabels[i]->setAlignment(Qt::AlignCenter);
        n.weekLabels[i]->setAutoFillBackground(true);
        QPalette strip = n.weekLabels[i]->palette();
        strip.setColor(QPalette::Window, kTitleStrip);
        n.weekLabels[i]->setPalette(strip);
    }

    static const char* const buttonNames[] = {"btnA", "btnB", "btnC", "btnD", "btnE"};
    for (int k = 0; k < 5; ++k) {
        const QString letter(QChar(u'A' + k));
        n.weekButtons[k] = noteButton(this, buttonNames[k], {512 + 26 * k, 7, 23, 22}, letter, 16,
                                      QStringLiteral("周记 %1 页：保存这一页，打开第 %1 页").arg(letter));
        n.weekButtons[k]->setAccessibleName(QStringLiteral("周记 %1 页").arg(letter));
    }
}

void TMainFrm::CreateDayArea() {
    NotesParts& n = *notes_;
    n.pnlABC = make<QFrame>(pngRight, "pnlABC", {49, 398, 423, 381});
    auto* frame = static_cast<QFrame*>(n.pnlABC);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, Qt::white);
    frame->setPalette(palette);

    n.chnRili = make<TChnCalendar>(n.pnlABC, "chnRili", {2, 2, 419, 255});
    n.chnRili->setShowTitle(true);
    n.chnRili->setShowFrame(false);
    QFont date = pixelFont(QStringLiteral("黑体"), 12, true);
    n.chnRili->setFontDate(date);
    n.chnRili->setFontCnDate(pixelFont(QStringLiteral("宋体"), 12));

    n.rdtAbc = noteEditor(n.pnlABC, "rdtAbc", {2, 257, 419, 122}, QColor(192, 220, 192), QStringLiteral("日记"));
    n.rdtAbc->setFrameShape(QFrame::NoFrame);
    // Its place lies below the panel's bottom edge only while the window has
    // its designed height; a taller window would uncover it. The notes window
    // shows it while it holds it.
    n.pnlABC->hide();

    // The three day buttons show the same note on three paper colours.
    n.btnAbc_A = noteButton(this, "btnAbc_A", {197, 57, 23, 22}, QStringLiteral("A"), 16,
                            QStringLiteral("日记 A：在浅黄色的纸上显示所选日期的日记"));
    n.btnAbc_B = noteButton(this, "btnAbc_B", {223, 57, 23, 22}, QStringLiteral("B"), 16,
                            QStringLiteral("日记 B：在浅紫色的纸上显示所选日期的日记"));
    n.btnAbc_C = noteButton(this, "btnAbc_C", {249, 57, 23, 22}, QStringLiteral("C"), 16,
                            QStringLiteral("日记 C：在浅绿色的纸上显示所选日期的日记"));
    n.btnClearCon = noteButton(this, "btnClearCon", {357, 12, 66, 22}, QStringLiteral("清空内容"), 12,
                               QStringLiteral("清空这一页周记的六栏内容"));
    n.btnGou =
        noteButton(this, "btnGou", {61, 60, 23, 22}, QStringLiteral("√"), 12, QStringLiteral("在日记中插入对勾 √"));
    n.btnX = noteButton(this, "btnX", {85, 60, 23, 22}, QStringLiteral("X"), 12, QStringLiteral("在日记中插入叉号 ×"));
    n.btnDate = noteButton(this, "btnDate", {0, 0, 48, 22}, QString(), 12, QStringLiteral("在日记中插入今天的日期"));
    n.btnRedColor =
        noteButton(this, "btnRedColor", {0, 0, 26, 22}, QString(), 12, QStringLiteral("设置日记中所选文字的颜色"));
    const QPixmap datePicture =
        toolPicture({44, 15}, QColor(90, 110, 150), QColor(235, 241, 250), QStringLiteral("日期"));
    const QPixmap colourPicture = toolPicture({20, 11}, QColor(120, 0, 0), QColor(255, 0, 0));
    n.imgDate = make<TImage>(this, "imgDate", {115, 63, 44, 15});
    n.imgDate->setPicture(datePicture);
    n.imgRedColor = make<TImage>(this, "imgRedColor", {161, 66, 20, 11});
    n.imgRedColor->setPicture(colourPicture);
    n.btnDate->setIcon(datePicture);
    n.btnDate->setIconSize(datePicture.size());
    n.btnRedColor->setIcon(colourPicture);
    n.btnRedColor->setIconSize(colourPicture.size());
    for (TImage* image : {n.imgDate, n.imgRedColor}) {
        image->setCursor(Qt::PointingHandCursor);
        image->hide();
    }
}

// The notes' dialogs and messages belong to the window that shows the
// editors: the notes window while it holds them, so that it stays in front.
QWidget* TMainFrm::notesHost() const {
    return notes_->rdtAbc->window();
}

namespace {
template <class Dialog>
Dialog* ownedBy(Dialog* dialog, QWidget* owner) {
    if (dialog->parentWidget() != owner) dialog->setParent(owner, dialog->windowFlags());
    return dialog;
}
}  // namespace

// The colour and save dialogs are made on first use (most runs never open
// them) and kept, so that each remembers its last colour or folder.
QColorDialog* TMainFrm::noteColourDialog() {
    NotesParts& n = *notes_;
    if (!n.ColorDialog1) {
        n.ColorDialog1 = new QColorDialog(notesHost());
        n.ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));
    }
    return ownedBy(n.ColorDialog1.data(), notesHost());
}

QFileDialog* TMainFrm::noteExportDialog() {
    NotesParts& n = *notes_;
    if (!n.svdNoteToTxt) {
        n.svdNoteToTxt = new QFileDialog(notesHost());
        n.svdNoteToTxt->setObjectName(QStringLiteral("svdNoteToTxt"));
        n.svdNoteToTxt->setAcceptMode(QFileDialog::AcceptSave);
        n.svdNoteToTxt->setNameFilter(QStringLiteral("*.Txt"));
        n.svdNoteToTxt->setOption(QFileDialog::DontUseNativeDialog);
        n.svdNoteToTxt->setOption(QFileDialog::DontConfirmOverwrite);
    }
    return ownedBy(n.svdNoteToTxt.data(), notesHost());
}

void TMainFrm::CreateNotesMenu() {
    NotesParts& n = *notes_;
    const auto item = [this](const char* name, const QString& caption) {
        QAction* action = pmDeskTopMonCal->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    const auto separator = [this](const char* name) {
        QAction* action = pmDeskTopMonCal->addSeparator();
        action->setObjectName(QLatin1String(name));
        return action;
    };
    n.N1 = item("N1", QStringLiteral("复制"));
    n.N2 = item("N2", QStringLiteral("粘贴"));
    n.N9 = item("N9", QStringLiteral("删除"));
    n.N3 = item("N3", QStringLiteral("剪切"));
    n.N6 = separator("N6");
    n.V1 = item("V1", QStringLiteral("打V"));
    n.X1 = item("X1", QStringLiteral("打X"));
    n.N5 = separator("N5");
    // The caption names the key; the item itself has no shortcut.
    n.CtrlZ1 = item("CtrlZ1", QStringLiteral("撤销(Ctrl+Z)"));
    ConnectNotes();
}

}  // namespace tavlo::app
