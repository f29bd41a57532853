#pragma once
#include "NoteEditing.h"
#include "NotesPanel.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <exception>
#include <functional>
#include <vector>

class QColorDialog;
class QFileDialog;
class QPainter;
class QRect;
class QWidget;

namespace tavlo {
struct GlobalState;
class TChnCalendar;
class TDM;
namespace notes {
struct SearchHit;
class NotesError;
}  // namespace notes
}  // namespace tavlo

namespace tavlo::notesui {

// The notes' commands and state: the calendar's date, the open page
// (`NotePage`), loading and saving the editors, the marks of the days with
// notes, search, export, the daily backup and the recovery of notes that
// could not be saved. It owns the panel that holds the notes' controls;
// whoever shows the panel forwards the user's commands here.
class NotesController : public QObject {
    Q_OBJECT
public:
    // Messages go to the panel's window while it is shown, otherwise to
    // `dialogOwner`.
    NotesController(const GlobalState& state, QWidget& dialogOwner);
    ~NotesController() override;

    NotesPanel& panel() const { return *panel_; }
    // The notes database; none makes every load fail.
    void attachDataModule(TDM* dm);

    // The number of the current notes page: 1 … 5 for a week page, 1 … 3
    // after a day button, 0 while a page loads.
    int notePage() const { return NotePage; }
    void setNotePage(int page);

    // Shows today in the calendar.
    void SetCalendarDate();
    // The first time the panel is shown: the remembered page and today's
    // note, the days with notes and, shortly after, the day's backup.
    void firstShown();

    // The loads and saves of the editors; false when they failed (and said so).
    bool LoadWeekNotes(int page);
    bool SaveWeekNotes(int page);
    bool LoadDayNote();
    bool SaveDayNote();
    // Both editors' contents go where they belong.
    void SaveEditors();

    // The commands.
    void WeekButtonClick(int page);
    void DayButtonClick(int button);
    void CalendarDateChanged();
    void ReplaceDaySelection(const QString& text);
    void InsertDateStamp();
    void ChooseTextColour();
    void ChooseTextColourFromButton();
    void ClearWeekPage();
    void ExportDayNote();
    void ExportAllNotes();
    void SearchNotes(const QString& text);
    void OpenSearchHit(const notes::SearchHit& hit);
    // Notes the last run could not save: offered back, or left for the next start.
    void OfferRecoveredNotes();

signals:
    void notePageChanged(int page);
    // A line for the user (search results, backups, notes too large to edit).
    void statusChanged(const QString& text);

private:
    bool RunSave(bool week, const std::function<void()>& save);
    void ShowNoteKinds();
    void KeepFromTyping(bool week, const notes::NotesError& error);
    void RefreshDayMarks(bool evenIfShown);
    void DrawDayMark(TChnCalendar* calendar, int day, QPainter& canvas, const QRect& cell) const;
    void MakeDailyBackup();
    void NotesQuit();
    void KeepForRecovery(bool week);
    void ShowNotesFailure(const QString& message, const std::exception& error);
    QWidget* notesHost() const;
    QColorDialog* noteColourDialog();
    QFileDialog* noteExportDialog();
    notes::NoteEditing::WeekDocuments weekDocuments() const;
    // Runs a load or save with the focus-lost saves held off, so that a
    // message box it shows cannot start another one.
    bool guarded(const std::function<bool()>& action);

    const GlobalState& state_;
    QWidget& dialogOwner_;
    QPointer<NotesPanel> panel_;
    int NotePage = 0;
    // Loads and saves, remembering where the editors' contents came from.
    notes::NoteEditing editing_{nullptr};
    // Set while a load or save runs: focus changes it causes save nothing.
    bool busy_ = false;
    bool shown_ = false;
    // Why the week page or the day note could not be loaded; empty once a
    // load of theirs succeeded. Their editors take no typing meanwhile.
    QString weekNotLoaded_;
    QString dayNotLoaded_;
    // Set once the program is ending: a save that fails then goes to the
    // recovery file instead of a message box nobody may be there to close.
    bool ending_ = false;
    // The days of the calendar's month that have notes, marked in its cells.
    int markedYear_ = 0;
    int markedMonth_ = 0;
    std::vector<int> markedDays_;
    // The text last searched for, selected in the note a hit opens.
    QString lastSearch_;
    QPointer<QColorDialog> ColorDialog1;  // made on first use
    QPointer<QFileDialog> svdNoteToTxt;
};

}  // namespace tavlo::notesui
