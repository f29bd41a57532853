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
#include <QToolButton>

namespace tavlo::app {

namespace {

const QString kLoadFailed = QStringLiteral("加载记事内容失败！");
const QString kSaveFailed = QStringLiteral("保存记事内容失败，内容仍保留在编辑框中！");
const QString kExportFailed = QStringLiteral("内容导出失败，请换一个文件名或位置后重试！");

// Calls back when the watched editor loses the focus to another control of
// the program (not to its own context menu).
class FocusLost : public QObject {
public:
    FocusLost(QWidget* editor, std::function<void()> lost) : QObject(editor), lost_(std::move(lost)) {
        editor->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            lost_();
        return false;
    }

private:
    std::function<void()> lost_;
};

// Runs a load or save with the focus-lost saves held off, so that a message
// box it shows cannot start another one.
template <class Action>
bool guarded(NotesParts& n, Action action) {
    if (n.busy) return false;
    n.busy = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{n.busy};
    return action();
}

// Runs a load or save of the notes; a failure is shown to the user as `message`.
template <class Action>
bool reported(QWidget* window, const QString& message, Action action) {
    try {
        action();
        return true;
    } catch (const notes::NotesError&) {
        showMessage(window, message);
        return false;
    }
}

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
    });

    // One context menu for every note editor; its commands act on rdtAbc.
    std::vector<QTextEdit*> editors(n.redt.begin(), n.redt.end());
    editors.push_back(n.rdtAbc);
    editors.push_back(rdtMain);
    for (QTextEdit* editor : editors) {
        editor->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(editor, &QWidget::customContextMenuRequested, this,
                [this, editor](const QPoint& pos) { pmDeskTopMonCal->popup(editor->mapToGlobal(pos)); });
    }
    for (QTextEdit* editor : n.redt) new FocusLost(editor, [this] { redt1Exit(); });
    new FocusLost(n.rdtAbc, [this] { rdtAbcExit(); });
    // Ending the program saves like leaving the editors.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &TMainFrm::NotesFrmClose);
}

bool TMainFrm::LoadWeekNotes(int page) {
    NotesParts& n = *notes_;
    return reported(notesHost(), kLoadFailed, [&] { n.editing.loadWeek(page, weekDocuments(n)); });
}

bool TMainFrm::SaveWeekNotes(int page) {
    NotesParts& n = *notes_;
    return guarded(
        n, [&] { return reported(notesHost(), kSaveFailed, [&] { n.editing.saveWeek(page, weekDocuments(n)); }); });
}

bool TMainFrm::LoadDayNote() {
    NotesParts& n = *notes_;
    return reported(notesHost(), kLoadFailed,
                    [&] { n.editing.loadDay(calendar::calendarDay(n.chnRili->DateTime()), *n.rdtAbc->document()); });
}

bool TMainFrm::SaveDayNote() {
    NotesParts& n = *notes_;
    return guarded(
        n, [&] { return reported(notesHost(), kSaveFailed, [&] { n.editing.saveDay(*n.rdtAbc->document()); }); });
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
    QTextCursor cursor = notes_->rdtAbc->textCursor();
    // One undo step each, as a typed word would be.
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    notes_->rdtAbc->setTextCursor(cursor);
}

void TMainFrm::imgRedColorClick() {
    if (!notes_->rdtAbc->hasFocus()) return;
    QColorDialog* colours = noteColourDialog();
    if (colours->exec() != QDialog::Accepted) return;
    // With no selection the colour applies to what is typed next.
    notes_->rdtAbc->setTextColor(colours->selectedColor());
}

void TMainFrm::btnClearConClick() {
    for (QTextEdit* editor : notes_->redt) editor->clear();
    SaveWeekNotes(NotePage);
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
        showMessage(notesHost(), kExportFailed + u'\n' + QString::fromUtf8(e.what()));
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
    if (!n.notesFrm) n.notesFrm = new TNotesFrm(*this, n, tsMain);
    n.notesFrm->open();
    if (n.notesFrmOpened) return;
    // The first time: the remembered page and today's note.
    n.notesFrmOpened = true;
    WeekButtonClick(NotePage >= 1 && NotePage <= 5 ? NotePage : 1);
    SetCalendarDate();
    guarded(n, [&] { return LoadDayNote(); });
}

void TMainFrm::NotesFrmClose() {
    SaveWeekNotes(NotePage);
    SaveDayNote();
}

}  // namespace tavlo::app
