// The notes' editing: the week and day buttons, loads and saves, the day
// editor's tools and the export of the day's note.
#include "NotesController.h"

#include "CalendarDates.h"
#include "ChnCalendarPicker.h"
#include "GlobalState.h"
#include "NotesError.h"
#include "NotesPanel.h"
#include "NotesTexts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDateTime>
#include <QFileDialog>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <chrono>
#include <optional>

namespace tavlo::notesui {

namespace {

constexpr std::chrono::milliseconds kBackupDelay{500};

void setTextColour(QToolButton* button, QColor colour) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, colour);
    button->setPalette(palette);
}

QDate today(const GlobalState& state) {
    return QDateTime::fromSecsSinceEpoch(state.clock()).date();
}

}  // namespace

NotesController::NotesController(const GlobalState& state, QWidget& dialogOwner)
    : state_(state), dialogOwner_(dialogOwner), panel_(new NotesPanel) {
    connect(this, &NotesController::statusChanged, panel_, &NotesPanel::showStatus);
    panel_->calendar()->setOnDrawDateCell([this](TChnCalendar* calendar, int day, QPainter& canvas, const QRect& cell,
                                                 bool, QString&, bool&) { DrawDayMark(calendar, day, canvas, cell); });
    // Ending the program saves like leaving the editors, without asking.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &NotesController::NotesQuit);
}

// The panel goes with its controller (whoever shows it may have let go of it
// already). Its editors' focus leaves them as they go, which saves nothing.
NotesController::~NotesController() {
    disconnect(qApp, nullptr, this, nullptr);
    delete panel_.data();
}

void NotesController::attachDataModule(TDM* dm) {
    editing_.setDataModule(dm);
}

void NotesController::setNotePage(int page) {
    NotePage = page;
    emit notePageChanged(page);
}

void NotesController::SetCalendarDate() {
    panel_->calendar()->setDateTime(calendar::dateTimeValue(QDateTime::fromSecsSinceEpoch(state_.clock())));
}

void NotesController::firstShown() {
    if (shown_) return;
    shown_ = true;
    WeekButtonClick(NotePage >= 1 && NotePage <= 5 ? NotePage : 1);
    SetCalendarDate();
    guarded([this] { return LoadDayNote(); });
    RefreshDayMarks(true);
    // Once the window is up: a copy of the whole database takes a moment.
    QTimer::singleShot(kBackupDelay, this, [this] { MakeDailyBackup(); });
}

bool NotesController::guarded(const std::function<bool()>& action) {
    if (busy_) return false;
    busy_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{busy_};
    return action();
}

notes::NoteEditing::WeekDocuments NotesController::weekDocuments() const {
    notes::NoteEditing::WeekDocuments documents;
    for (int i = 0; i < notes::kWeekEditors; ++i) documents[i] = panel_->weekEditors()[i]->document();
    return documents;
}

bool NotesController::LoadWeekNotes(int page) {
    try {
        editing_.loadWeek(page, weekDocuments());
        weekNotLoaded_.clear();
    } catch (const notes::NotesError& error) {
        KeepFromTyping(true, error);
        ShowNotesFailure(texts::loadFailed(), error);
        return false;
    }
    ShowNoteKinds();
    return true;
}

bool NotesController::SaveWeekNotes(int page) {
    return RunSave(true, [&] { editing_.saveWeek(page, weekDocuments()); });
}

bool NotesController::LoadDayNote() {
    try {
        editing_.loadDay(calendar::calendarDay(panel_->calendar()->DateTime()), *panel_->dayEditor()->document());
        dayNotLoaded_.clear();
    } catch (const notes::NotesError& error) {
        KeepFromTyping(false, error);
        ShowNotesFailure(texts::loadFailed(), error);
        return false;
    }
    ShowNoteKinds();
    return true;
}

bool NotesController::SaveDayNote() {
    return RunSave(false, [&] {
        if (editing_.saveDay(*panel_->dayEditor()->document()) == notes::NoteEditing::Saved::Written)
            RefreshDayMarks(true);
    });
}

void NotesController::SaveEditors() {
    SaveWeekNotes(NotePage);
    SaveDayNote();
}

// A save of the week page or the day note. Its failure is shown; when the
// program is ending, what could not be saved is kept for the next start.
bool NotesController::RunSave(bool week, const std::function<void()>& save) {
    return guarded([&] {
        try {
            save();
            return true;
        } catch (const notes::NotesError& error) {
            if (ending_)
                KeepForRecovery(week);
            else
                ShowNotesFailure(texts::saveFailed(), error);
            return false;
        }
    });
}

// A note that could not be loaded is not what the editors show: what would
// be typed there could never be saved, so they take nothing until a load of
// theirs succeeds, and say why (in the status line, and inside the editors,
// where it stays).
void NotesController::KeepFromTyping(bool week, const notes::NotesError& error) {
    (week ? weekNotLoaded_ : dayNotLoaded_) = texts::notLoaded(QString::fromUtf8(error.what()));
    ShowNoteKinds();
    emit statusChanged(week ? weekNotLoaded_ : dayNotLoaded_);
}

// Notes too large to edit are shown read-only, with a word on why.
void NotesController::ShowNoteKinds() {
    const auto size = [](qsizetype bytes) { return QString::number(bytes / (1024.0 * 1024.0), 'f', 1); };
    QStringList notices;
    const std::optional<qsizetype> day = editing_.loadedDay() ? editing_.dayPreview() : std::nullopt;
    panel_->dayEditor()->setReadOnly(day.has_value() || !dayNotLoaded_.isEmpty());
    panel_->dayEditor()->setPlaceholderText(dayNotLoaded_);
    if (day) notices << texts::largeDayNote(size(*day));
    for (int i = 0; i < notes::kWeekEditors; ++i) {
        const std::optional<qsizetype> column = editing_.loadedWeekPage() ? editing_.weekPreview(i) : std::nullopt;
        panel_->weekEditors()[i]->setReadOnly(column.has_value() || !weekNotLoaded_.isEmpty());
        panel_->weekEditors()[i]->setPlaceholderText(weekNotLoaded_);
        if (column) notices << texts::largeWeekColumn(i + 1, size(*column));
    }
    if (notices.isEmpty()) return;
    emit statusChanged(notices.join(QString()) + texts::previewOnly());
}

void NotesController::WeekButtonClick(int page) {
    // A page whose editors could not be saved stays on screen.
    if (!SaveWeekNotes(NotePage)) return;
    const auto& buttons = panel_->weekButtons();
    for (int k = 0; k < NotesPanel::kWeekPages; ++k)
        setTextColour(buttons[k], k + 1 == page ? QColor(255, 0, 0) : QColor(Qt::black));
    setNotePage(0);
    guarded([&] { return LoadWeekNotes(page); });
    setNotePage(page);
}

void NotesController::DayButtonClick(int button) {
    if (!SaveDayNote()) return;
    const auto& buttons = panel_->dayButtons();
    for (int k = 0; k < NotesPanel::kDayPapers; ++k)
        setTextColour(buttons[k], k + 1 == button ? QColor(0, 0, 255) : QColor(Qt::black));
    static const std::array<QColor, NotesPanel::kDayPapers> backgrounds = {QColor(250, 252, 225), QColor(251, 240, 252),
                                                                           QColor(224, 255, 227)};
    QTextEdit* editor = panel_->dayEditor();
    QPalette palette = editor->palette();
    palette.setColor(QPalette::Base, backgrounds[button - 1]);
    editor->setPalette(palette);
    setNotePage(0);
    guarded([&] { return LoadDayNote(); });
    setNotePage(button);
}

// A new date in the calendar: the note on screen goes back under the date
// it was loaded for, then the new date's note is shown. A note that could
// not be saved stays on screen.
void NotesController::CalendarDateChanged() {
    const std::optional<QDate> loaded = editing_.loadedDay();
    if (loaded && *loaded != calendar::calendarDay(panel_->calendar()->DateTime()) && SaveDayNote())
        guarded([this] { return LoadDayNote(); });
    RefreshDayMarks(false);
}

void NotesController::ReplaceDaySelection(const QString& text) {
    QTextEdit* editor = panel_->dayEditor();
    // A preview is never saved: what is typed into it would be lost.
    if (editor->isReadOnly()) return;
    QTextCursor cursor = editor->textCursor();
    // One undo step each, as a typed word would be.
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    editor->setTextCursor(cursor);
}

void NotesController::InsertDateStamp() {
    ReplaceDaySelection(notes::dateStamp(today(state_)));
}

void NotesController::ChooseTextColour() {
    QTextEdit* editor = panel_->dayEditor();
    if (!editor->hasFocus() || editor->isReadOnly()) return;
    QColorDialog* colours = noteColourDialog();
    if (colours->exec() != QDialog::Accepted) return;
    // With no selection the colour applies to what is typed next.
    editor->setTextColor(colours->selectedColor());
}

// Clicked, the button leaves the focus where it was, as the picture does.
// Reached by Tab it has the focus itself: the command then acts when the day
// editor was the one worked in last.
void NotesController::ChooseTextColourFromButton() {
    if (panel_->colourButton()->hasFocus() && panel_->lastEditor() == panel_->dayEditor())
        panel_->dayEditor()->setFocus();
    ChooseTextColour();
}

void NotesController::ClearWeekPage() {
    // A column shown as a preview is not saved, so it is not cleared either.
    for (QTextEdit* editor : panel_->weekEditors())
        if (!editor->isReadOnly()) editor->clear();
    SaveWeekNotes(NotePage);
}

void NotesController::ExportDayNote() {
    const QString text = panel_->dayEditor()->toPlainText();
    QFileDialog* save = noteExportDialog();
    save->selectFile(notes::exportProposedName(NotePage));
    if (save->exec() != QDialog::Accepted) return;
    const QStringList chosen = save->selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) return;
    try {
        notes::writeExport(chosen.front(), text);
    } catch (const std::exception& e) {
        ShowNotesFailure(texts::exportFailed(), e);
    }
}

// The notes' dialogs and messages belong to the window that shows the
// panel while it is shown, so that it stays in front.
QWidget* NotesController::notesHost() const {
    return panel_->isVisible() ? panel_->window() : &dialogOwner_;
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
QColorDialog* NotesController::noteColourDialog() {
    if (!ColorDialog1) {
        ColorDialog1 = new QColorDialog(notesHost());
        ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));
    }
    return ownedBy(ColorDialog1.data(), notesHost());
}

QFileDialog* NotesController::noteExportDialog() {
    if (!svdNoteToTxt) {
        svdNoteToTxt = new QFileDialog(notesHost());
        svdNoteToTxt->setObjectName(QStringLiteral("svdNoteToTxt"));
        svdNoteToTxt->setAcceptMode(QFileDialog::AcceptSave);
        svdNoteToTxt->setNameFilter(QStringLiteral("*.Txt"));
        svdNoteToTxt->setOption(QFileDialog::DontUseNativeDialog);
        svdNoteToTxt->setOption(QFileDialog::DontConfirmOverwrite);
    }
    return ownedBy(svdNoteToTxt.data(), notesHost());
}

}  // namespace tavlo::notesui
