// The main window's calendar and notes: the handlers of the notes' controls,
// each running its command in the notes controller, and the "日历记事"
// window that shows the controls.
#include "ChnCalendarPicker.h"
#include "NotesController.h"
#include "NotesPanel.h"
#include "NotesSearchPanel.h"
#include "Widgets.h"
#include "uMain.h"
#include "uNotesFrm.h"

#include <QAction>
#include <QMenu>
#include <QTextEdit>
#include <QToolButton>

namespace tavlo::app {

using notesui::NotesPanel;

void TMainFrm::CreateCalendarAndNotes() {
    notes_ = std::make_unique<notesui::NotesController>(state_, *this);
    notesFrm_ = new notesui::TNotesFrm(*this, notes_->panel());
}

void TMainFrm::attachDataModule(TDM* dm) {
    notes_->attachDataModule(dm);
}

std::int32_t TMainFrm::notePage() const {
    return notes_->notePage();
}

// Each control of the notes runs its handler, found by the control's name.
void TMainFrm::ConnectNotes() {
    const NotesPanel& panel = notes_->panel();
    using Handler = void (TMainFrm::*)();
    struct Wire {
        const char* control;
        Handler handler;
    };
    static const Wire buttons[] = {
        {"btnA", &TMainFrm::btnAClick},
        {"btnB", &TMainFrm::btnBClick},
        {"btnC", &TMainFrm::btnCClick},
        {"btnD", &TMainFrm::btnDClick},
        {"btnE", &TMainFrm::btnEClick},
        {"btnAbc_A", &TMainFrm::btnAbc_AClick},
        {"btnAbc_B", &TMainFrm::btnAbc_BClick},
        {"btnAbc_C", &TMainFrm::btnAbc_CClick},
        {"btnGou", &TMainFrm::btnGouClick},
        {"btnX", &TMainFrm::btnXClick},
        {"btnClearCon", &TMainFrm::btnClearConClick},
        {"btnDate", &TMainFrm::btnDateClick},
        {"btnRedColor", &TMainFrm::btnRedColorClick},
        {"btnOutPutCon", &TMainFrm::N_OutPutConClick},
    };
    for (const Wire& wire : buttons)
        connect(panel.control<QToolButton>(wire.control), &QToolButton::clicked, this, asCommand(this, wire.handler));
    static const Wire pictures[] = {{"imgDate", &TMainFrm::imgDateClick}, {"imgRedColor", &TMainFrm::imgRedColorClick}};
    for (const Wire& wire : pictures)
        connect(panel.control<TImage>(wire.control), &TImage::clicked, this, asCommand(this, wire.handler));
    static const Wire items[] = {
        {"N1", &TMainFrm::N1Click},         {"N2", &TMainFrm::N2Click},
        {"N9", &TMainFrm::N9Click},         {"N3", &TMainFrm::N3Click},
        {"V1", &TMainFrm::V1Click},         {"X1", &TMainFrm::X1Click},
        {"CtrlZ1", &TMainFrm::CtrlZ1Click}, {"N_ExportAllNotes", &TMainFrm::N_ExportAllNotesClick},
    };
    for (const Wire& wire : items)
        connect(panel.control<QAction>(wire.control), &QAction::triggered, this, asCommand(this, wire.handler));
    connect(N_OutPutCon, &QAction::triggered, this, asCommand(this, &TMainFrm::N_OutPutConClick));
    connect(N_CalNotes, &QAction::triggered, this, asCommand(this, &TMainFrm::N_CalNotesClick));
    connect(panel.calendar(), &TChnCalendar::OnChange, this, &TMainFrm::chnRiliChange);
    connect(&panel, &NotesPanel::weekEditorLeft, this, &TMainFrm::redt1Exit);
    connect(&panel, &NotesPanel::dayEditorLeft, this, &TMainFrm::rdtAbcExit);
    connect(&panel.searchPanel(), &notesui::NotesSearchPanel::searchRequested, this,
            [this](const QString& text) { runCommand(this, [&] { SearchNotes(text); }); });
    connect(&panel.searchPanel(), &notesui::NotesSearchPanel::hitChosen, this,
            [this](const notes::SearchHit& hit) { runCommand(this, [&] { OpenSearchHit(hit); }); });
    connect(notesFrm_, &notesui::TNotesFrm::closing, this, &TMainFrm::NotesFrmClose);

    // The hidden editor shares the notes editors' context menu.
    rdtMain->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(rdtMain, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { notes_->panel().editorMenu()->popup(rdtMain->mapToGlobal(pos)); });
    // What the last run could not save is offered once the window is up.
    connect(this, &TMainFrm::firstPainted, notes_.get(), &notesui::NotesController::OfferRecoveredNotes,
            Qt::QueuedConnection);
}

void TMainFrm::btnAClick() {
    notes_->WeekButtonClick(1);
}
void TMainFrm::btnBClick() {
    notes_->WeekButtonClick(2);
}
void TMainFrm::btnCClick() {
    notes_->WeekButtonClick(3);
}
void TMainFrm::btnDClick() {
    notes_->WeekButtonClick(4);
}
void TMainFrm::btnEClick() {
    notes_->WeekButtonClick(5);
}

void TMainFrm::btnAbc_AClick() {
    notes_->DayButtonClick(1);
}
void TMainFrm::btnAbc_BClick() {
    notes_->DayButtonClick(2);
}
void TMainFrm::btnAbc_CClick() {
    notes_->DayButtonClick(3);
}

// The context menu's commands act on the day editor, whichever editor the
// menu was opened on.
void TMainFrm::N1Click() {
    notes_->panel().dayEditor()->copy();
}
void TMainFrm::N2Click() {
    notes_->panel().dayEditor()->paste();
}
void TMainFrm::N9Click() {
    notes_->panel().dayEditor()->textCursor().removeSelectedText();
}
void TMainFrm::N3Click() {
    notes_->panel().dayEditor()->cut();
}
void TMainFrm::V1Click() {
    notes_->ReplaceDaySelection(QStringLiteral("√"));
}
void TMainFrm::X1Click() {
    notes_->ReplaceDaySelection(QStringLiteral("×"));
}
void TMainFrm::CtrlZ1Click() {
    notes_->panel().dayEditor()->undo();
}

void TMainFrm::btnGouClick() {
    notes_->ReplaceDaySelection(QStringLiteral("√"));
}
void TMainFrm::btnXClick() {
    notes_->ReplaceDaySelection(QStringLiteral("×"));
}
void TMainFrm::imgDateClick() {
    notes_->InsertDateStamp();
}
void TMainFrm::btnDateClick() {
    notes_->InsertDateStamp();
}
void TMainFrm::imgRedColorClick() {
    notes_->ChooseTextColour();
}
void TMainFrm::btnRedColorClick() {
    notes_->ChooseTextColourFromButton();
}
void TMainFrm::btnClearConClick() {
    notes_->ClearWeekPage();
}
void TMainFrm::N_OutPutConClick() {
    notes_->ExportDayNote();
}
void TMainFrm::N_ExportAllNotesClick() {
    notes_->ExportAllNotes();
}
void TMainFrm::SearchNotes(const QString& text) {
    notes_->SearchNotes(text);
}
void TMainFrm::OpenSearchHit(const notes::SearchHit& hit) {
    notes_->OpenSearchHit(hit);
}

void TMainFrm::redt1Exit() {
    notes_->SaveWeekNotes(notes_->notePage());
}
void TMainFrm::rdtAbcExit() {
    notes_->SaveDayNote();
}

void TMainFrm::chnRiliChange() {
    notes_->CalendarDateChanged();
}

void TMainFrm::N_CalNotesClick() {
    notesFrm_->open();
    notes_->firstShown();
}

// Closing the window saves like leaving the editors.
void TMainFrm::NotesFrmClose() {
    notes_->SaveEditors();
}

}  // namespace tavlo::app
