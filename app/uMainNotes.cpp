// The main window's calendar and notes: the day and week editors, their
// commands and the calendar whose date keys the day notes.
#include "CalendarDates.h"
#include "ChnCalendarPicker.h"
#include "MainNotes.h"
#include "NotesError.h"
#include "Widgets.h"
#include "uDM.h"
#include "uMain.h"
#include "uNotesFrm.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDateTime>
#include <QFileDialog>
#include <QFocusEvent>
#include <QMenu>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <chrono>
#include <optional>

namespace tavlo::app {

namespace {

const QString kLoadFailed = QStringLiteral("加载记事内容失败！");
const QString kSaveFailed = QStringLiteral("保存记事内容失败，内容仍保留在编辑框中！");
constexpr std::chrono::milliseconds kBackupDelay{500};
const QString kExportFailed = QStringLiteral("内容导出失败，请换一个文件名或位置后重试！");

// Calls back when the watched editor loses the focus to another control of
// the program (not to its own context menu), while `lifetime` lives.
class FocusLost : public QObject {
public:
    FocusLost(QWidget* editor, QObject& lifetime, std::function<void()> lost)
        : QObject(editor), lifetime_(&lifetime), lost_(std::move(lost)) {
        editor->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (lifetime_ && event->type() == QEvent::FocusOut &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            lost_();
        return false;
    }

private:
    QPointer<QObject> lifetime_;
    std::function<void()> lost_;
};

notes::NoteEditing::WeekDocuments weekDocuments(const NotesParts& n) {
    notes::NoteEditing::WeekDocuments documents;
    for (int i = 0; i < notes::kWeekEditors; ++i) documents[i] = n.redt[i]->document();
    return documents;
}

void setTextColour(QToolButton* button, QColor colour) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, colour);
    button->setPalette(palette);
}

}  // namespace

void TMainFrm::attachDataModule(TDM* dm) {
    notes_->editing.setDataModule(dm);
}

void TMainFrm::SetCalendarDate() {
    const QDateTime now = QDateTime::fromSecsSinceEpoch(state_.clock());
    notes_->chnRili->setDateTime(calendar::dateTimeValue(now));
}

void TMainFrm::ConnectNotes() {
    NotesParts& n = *notes_;
    const std::array<void (TMainFrm::*)(), 5> week = {&TMainFrm::btnAClick, &TMainFrm::btnBClick, &TMainFrm::btnCClick,
                                                      &TMainFrm::btnDClick, &TMainFrm::btnEClick};
    for (int k = 0; k < 5; ++k) connect(n.weekButtons[k], &QToolButton::clicked, this, asCommand(this, week[k]));
    connect(n.btnAbc_A, &QToolButton::clicked, this, asCommand(this, &TMainFrm::btnAbc_AClick));
    connect(n.btnAbc_B, &QToolButton::clicked, this, asCommand(this, &TMainFrm::btnAbc_BClick));
    connect(n.btnAbc_C, &QToolButton::clicked, this, asCommand(this, &TMainFrm::btnAbc_CClick));
    connect(n.btnGou, &QToolButton::clicked, this, asCommand(this, &TMainFrm::btnGouClick));
    connect(n.btnX, &QToolButton::clicked, this, asCommand(this, &TMainFrm::btnXClick));
    connect(n.btnClearCon, &QToolButton::clicked, this, asCommand(this, &TMainFrm::btnClearConClick));
    connect(n.imgDate, &TImage::clicked, this, asCommand(this, &TMainFrm::imgDateClick));
    connect(n.imgRedColor, &TImage::clicked, this, asCommand(this, &TMainFrm::imgRedColorClick));
    connect(n.btnDate, &QToolButton::clicked, this, asCommand(this, &TMainFrm::btnDateClick));
    connect(n.btnRedColor, &QToolButton::clicked, this, asCommand(this, &TMainFrm::btnRedColorClick));
    connect(n.N1, &QAction::triggered, this, asCommand(this, &TMainFrm::N1Click));
    connect(n.N2, &QAction::triggered, this, asCommand(this, &TMainFrm::N2Click));
    connect(n.N9, &QAction::triggered, this, asCommand(this, &TMainFrm::N9Click));
    connect(n.N3, &QAction::triggered, this, asCommand(this, &TMainFrm::N3Click));
    connect(n.V1, &QAction::triggered, this, asCommand(this, &TMainFrm::V1Click));
    connect(n.X1, &QAction::triggered, this, asCommand(this, &TMainFrm::X1Click));
    connect(n.CtrlZ1, &QAction::triggered, this, asCommand(this, &TMainFrm::CtrlZ1Click));
    connect(N_OutPutCon, &QAction::triggered, this, asCommand(this, &TMainFrm::N_OutPutConClick));
    connect(N_CalNotes, &QAction::triggered, this, asCommand(this, &TMainFrm::N_CalNotesClick));
    connect(n.chnRili, &TChnCalendar::OnChange, this, [this] {
        chnRiliChange();
        CalendarDateChanged();
        RefreshDayMarks(false);
    });
    n.chnRili->setOnDrawDateCell([this](TChnCalendar* calendar, int day, QPainter& canvas, const QRect& cell, bool,
                                        QString&, bool&) { DrawDayMark(calendar, day, canvas, cell); });

    // One context menu for every note editor; its commands act on rdtAbc.
    std::vector<QTextEdit*> editors(n.redt.begin(), n.redt.end());
    editors.push_back(n.rdtAbc);
    editors.push_back(rdtMain);
    for (QTextEdit* editor : editors) {
        editor->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(editor, &QWidget::customContextMenuRequested, this,
                [this, editor](const QPoint& pos) { pmDeskTopMonCal->popup(editor->mapToGlobal(pos)); });
    }
    for (QTextEdit* editor : n.redt) new FocusLost(editor, n.lifetime, [this] { redt1Exit(); });
    new FocusLost(n.rdtAbc, n.lifetime, [this] { rdtAbcExit(); });
    // The editor the user last worked in, for the colour button reached by Tab.
    connect(qApp, &QApplication::focusChanged, &n.lifetime, [this](QWidget*, QWidget* now) {
        if (auto* editor = qobject_cast<QTextEdit*>(now); editor && editor->document()) notes_->lastEditor = editor;
    });
    // Ending the program saves like leaving the editors, without asking.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &TMainFrm::NotesQuit);
    // What the last run could not save is offered once the window is up.
    connect(this, &TMainFrm::firstPainted, this, &TMainFrm::OfferRecoveredNotes, Qt::QueuedConnection);
}

bool TMainFrm::LoadWeekNotes(int page) {
    NotesParts& n = *notes_;
    try {
        n.editing.loadWeek(page, weekDocuments(n));
    } catch (const notes::NotesError& error) {
        ShowNotesFailure(kLoadFailed, error);
        return false;
    }
    ShowNoteKinds();
    return true;
}

bool TMainFrm::SaveWeekNotes(int page) {
    NotesParts& n = *notes_;
    return RunSave(true, [&] { n.editing.saveWeek(page, weekDocuments(n)); });
}

bool TMainFrm::LoadDayNote() {
    NotesParts& n = *notes_;
    try {
        n.editing.loadDay(calendar::calendarDay(n.chnRili->DateTime()), *n.rdtAbc->document());
    } catch (const notes::NotesError& error) {
        ShowNotesFailure(kLoadFailed, error);
        return false;
    }
    ShowNoteKinds();
    return true;
}

bool TMainFrm::SaveDayNote() {
    NotesParts& n = *notes_;
    return RunSave(false, [&] {
        if (n.editing.saveDay(*n.rdtAbc->document()) == notes::NoteEditing::Saved::Written) RefreshDayMarks(true);
    });
}

// A save of the week page or the day note. Its failure is shown; when the
// program is ending, what could not be saved is kept for the next start.
bool TMainFrm::RunSave(bool week, const std::function<void()>& save) {
    NotesParts& n = *notes_;
    return guarded(n, [&] {
        try {
            save();
            return true;
        } catch (const notes::NotesError& error) {
            if (n.ending)
                KeepForRecovery(week);
            else
                ShowNotesFailure(kSaveFailed, error);
            return false;
        }
    });
}

// Notes too large to edit are shown read-only, with a word on why.
void TMainFrm::ShowNoteKinds() {
    NotesParts& n = *notes_;
    const auto size = [](qsizetype bytes) { return QString::number(bytes / (1024.0 * 1024.0), 'f', 1); };
    QStringList notices;
    const std::optional<qsizetype> day = n.editing.loadedDay() ? n.editing.dayPreview() : std::nullopt;
    n.rdtAbc->setReadOnly(day.has_value());
    if (day) notices << QStringLiteral("这篇日记很大（%1 MB），").arg(size(*day));
    for (int i = 0; i < notes::kWeekEditors; ++i) {
        const std::optional<qsizetype> column = n.editing.loadedWeekPage() ? n.editing.weekPreview(i) : std::nullopt;
        n.redt[i]->setReadOnly(column.has_value());
        if (column) notices << QStringLiteral("周记第 %1 栏很大（%2 MB），").arg(i + 1).arg(size(*column));
    }
    if (notices.isEmpty()) return;
    ShowNotesStatus(notices.join(QString()) +
                    QStringLiteral("为免窗口卡住，只显示开头部分的文字，不能在这里修改。全文仍完整保存，"
                                   "可以用“更多”里的“导出全部记事…”取出。"));
}

void TMainFrm::WeekButtonClick(int page) {
    NotesParts& n = *notes_;
    // A page whose editors could not be saved stays on screen.
    if (!SaveWeekNotes(NotePage)) return;
    for (int k = 0; k < 5; ++k) setTextColour(n.weekButtons[k], k + 1 == page ? QColor(255, 0, 0) : QColor(Qt::black));
    NotePage = 0;
    guarded(n, [&] { return LoadWeekNotes(page); });
    NotePage = page;
}

void TMainFrm::btnAClick() {
    WeekButtonClick(1);
}
void TMainFrm::btnBClick() {
    WeekButtonClick(2);
}
void TMainFrm::btnCClick() {
    WeekButtonClick(3);
}
void TMainFrm::btnDClick() {
    WeekButtonClick(4);
}
void TMainFrm::btnEClick() {
    WeekButtonClick(5);
}

void TMainFrm::DayButtonClick(int button) {
    NotesParts& n = *notes_;
    if (!SaveDayNote()) return;
    const std::array<QToolButton*, 3> buttons = {n.btnAbc_A, n.btnAbc_B, n.btnAbc_C};
    for (int k = 0; k < 3; ++k) setTextColour(buttons[k], k + 1 == button ? QColor(0, 0, 255) : QColor(Qt::black));
    static const std::array<QColor, 3> backgrounds = {QColor(250, 252, 225), QColor(251, 240, 252),
                                                      QColor(224, 255, 227)};
    QPalette palette = n.rdtAbc->palette();
    palette.setColor(QPalette::Base, backgrounds[button - 1]);
    n.rdtAbc->setPalette(palette);
    NotePage = 0;
    guarded(n, [&] { return LoadDayNote(); });
    NotePage = button;
}

void TMainFrm::btnAbc_AClick() {
    DayButtonClick(1);
}
void TMainFrm::btnAbc_BClick() {
    DayButtonClick(2);
}
void TMainFrm::btnAbc_CClick() {
    DayButtonClick(3);
}

// A new date in the calendar: the note on screen goes back under the date
// it was loaded for, then the new date's note is shown. A note that could
// not be saved stays on screen.
void TMainFrm::CalendarDateChanged() {
    NotesParts& n = *notes_;
    const std::optional<QDate> loaded = n.editing.loadedDay();
    if (!loaded || *loaded == calendar::calendarDay(n.chnRili->DateTime())) return;
    if (!SaveDayNote()) return;
    guarded(n, [&] { return LoadDayNote(); });
}

void TMainFrm::chnRiliChange() {}

void TMainFrm::N1Click() {
    notes_->rdtAbc->copy();
}
void TMainFrm::N2Click() {
    notes_->rdtAbc->paste();
}
void TMainFrm::N9Click() {
    notes_->rdtAbc->textCursor().removeSelectedText();
}
void TMainFrm::N3Click() {
    notes_->rdtAbc->cut();
}
void TMainFrm::V1Click() {
    ReplaceDaySelection(QStringLiteral("√"));
}
void TMainFrm::X1Click() {
    ReplaceDaySelection(QStringLiteral("×"));
}
void TMainFrm::CtrlZ1Click() {
    notes_->rdtAbc->undo();
}
void TMainFrm::btnGouClick() {
    ReplaceDaySelection(QStringLiteral("√"));
}
void TMainFrm::btnXClick() {
    ReplaceDaySelection(QStringLiteral("×"));
}
void TMainFrm::imgDateClick() {
    ReplaceDaySelection(notes::dateStamp(QDateTime::fromSecsSinceEpoch(state_.clock()).date()));
}

void TMainFrm::ReplaceDaySelection(const QString& text) {
    // A preview is never saved: what is typed into it would be lost.
    if (notes_->rdtAbc->isReadOnly()) return;
    QTextCursor cursor = notes_->rdtAbc->textCursor();
    // One undo step each, as a typed word would be.
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    notes_->rdtAbc->setTextCursor(cursor);
}

void TMainFrm::imgRedColorClick() {
    if (!notes_->rdtAbc->hasFocus() || notes_->rdtAbc->isReadOnly()) return;
    QColorDialog* colours = noteColourDialog();
    if (colours->exec() != QDialog::Accepted) return;
    // With no selection the colour applies to what is typed next.
    notes_->rdtAbc->setTextColor(colours->selectedColor());
}

void TMainFrm::btnClearConClick() {
    // A column shown as a preview is not saved, so it is not cleared either.
    for (QTextEdit* editor : notes_->redt)
        if (!editor->isReadOnly()) editor->clear();
    SaveWeekNotes(NotePage);
}

void TMainFrm::btnDateClick() {
    imgDateClick();
}

// Clicked, the button leaves the focus where it was, as the picture does.
// Reached by Tab it has the focus itself: the command then acts when the day
// editor was the one worked in last.
void TMainFrm::btnRedColorClick() {
    NotesParts& n = *notes_;
    if (n.btnRedColor->hasFocus() && n.lastEditor == n.rdtAbc) n.rdtAbc->setFocus();
    imgRedColorClick();
}

void TMainFrm::N_OutPutConClick() {
    const QString text = notes_->rdtAbc->toPlainText();
    QFileDialog* save = noteExportDialog();
    save->selectFile(notes::exportProposedName(NotePage));
    if (save->exec() != QDialog::Accepted) return;
    const QStringList chosen = save->selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) return;
    try {
        notes::writeExport(chosen.front(), text);
    } catch (const std::exception& e) {
        ShowNotesFailure(kExportFailed, e);
    }
}

void TMainFrm::redt1Exit() {
    SaveWeekNotes(NotePage);
}

void TMainFrm::rdtAbcExit() {
    SaveDayNote();
}

void TMainFrm::N_CalNotesClick() {
    NotesParts& n = *notes_;
    if (!n.notesFrm) n.notesFrm = new TNotesFrm(*this, n);
    n.notesFrm->open();
    if (n.notesFrmOpened) return;
    // The first time: the remembered page and today's note, the days with
    // notes, and, once the window is up, the day's backup (a copy of the
    // whole database: a large one takes a moment).
    n.notesFrmOpened = true;
    WeekButtonClick(NotePage >= 1 && NotePage <= 5 ? NotePage : 1);
    SetCalendarDate();
    guarded(n, [&] { return LoadDayNote(); });
    RefreshDayMarks(true);
    QTimer::singleShot(kBackupDelay, &n.lifetime, [this] { MakeDailyBackup(); });
}

void TMainFrm::NotesFrmClose() {
    SaveWeekNotes(NotePage);
    SaveDayNote();
}

}  // namespace tavlo::app
