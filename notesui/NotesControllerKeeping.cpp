// What keeps the notes safe and findable: the marks of the days with notes,
// search, the export of every note, the daily backup, and the recovery of
// notes that could not be saved when the program had to end.
#include "CalendarDates.h"
#include "ChnCalendarPicker.h"
#include "DayGrid.h"
#include "GlobalState.h"
#include "MessageBoxes.h"
#include "NoteBackup.h"
#include "NoteExportAll.h"
#include "NoteRecovery.h"
#include "NoteSearch.h"
#include "NotesController.h"
#include "NotesError.h"
#include "NotesPanel.h"
#include "NotesSearchPanel.h"
#include "NotesTexts.h"
#include "Rtf.h"
#include "uDM.h"

#include <QDateTime>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTextEdit>

#include <algorithm>

namespace tavlo::notesui {

namespace {

const QColor kDayMark(230, 110, 0);

// The notes' own failures speak Chinese; anything else is told in general
// words, its developer's account logged.
QString causeOf(const std::exception& error) {
    return texts::causeLine(widgets::failureText(error));
}

// For the eye only: a name that is not UTF-8 shows with replacement marks
// instead of ending the program.
QString shownPath(const std::filesystem::path& path) {
    return QString::fromUtf8(path.native().data(), static_cast<qsizetype>(path.native().size()));
}

}  // namespace

// The message keeps the words its box always had; the cause goes below it.
void NotesController::ShowNotesFailure(const QString& message, const std::exception& error) {
    if (const auto* notesError = dynamic_cast<const notes::NotesError*>(&error)) notes::logFailure(*notesError);
    QMessageBox box(QMessageBox::Warning, widgets::kApplicationTitle, message, QMessageBox::Ok, notesHost());
    box.setInformativeText(causeOf(error));
    box.exec();
}

void NotesController::RefreshDayMarks(bool evenIfShown) {
    // The database is opened once the notes are shown, never by start-up.
    if (!shown_) return;
    const calendar::TMonthModel& month = panel_->calendar()->Month();
    if (!evenIfShown && month.Year == markedYear_ && month.MonthNumber == markedMonth_) return;
    markedYear_ = month.Year;
    markedMonth_ = month.MonthNumber;
    markedDays_.clear();
    if (TDM* dm = editing_.dataModule()) {
        try {
            markedDays_ = notes::daysWithNotes(dm->AdoCon, month.Year, month.MonthNumber);
        } catch (const notes::NotesError& error) {
            notes::logFailure(error);  // no marks; the loads say what is wrong
        }
    }
    if (auto* grid = panel_->calendar()->findChild<calendar::TDayGrid*>()) grid->update();
}

// A small dot in the top right corner of a day that has a note.
void NotesController::DrawDayMark(TChnCalendar* calendar, int day, QPainter& canvas, const QRect& cell) const {
    const calendar::TMonthModel& month = calendar->Month();
    if (month.Year != markedYear_ || month.MonthNumber != markedMonth_) return;
    if (!std::binary_search(markedDays_.begin(), markedDays_.end(), day)) return;
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing);
    canvas.setPen(Qt::NoPen);
    canvas.setBrush(kDayMark);
    canvas.drawEllipse(QPointF(cell.right() - 5.5, cell.top() + 5.5), 3.0, 3.0);
    canvas.restore();
}

void NotesController::SearchNotes(const QString& text) {
    NotesSearchPanel& search = panel_->searchPanel();
    if (text.isEmpty()) {
        search.showHits({});
        emit statusChanged(texts::searchTextMissing());
        return;
    }
    SaveEditors();
    std::vector<notes::SearchHit> hits;
    try {
        TDM* dm = editing_.dataModule();
        if (!dm) throw notes::NotesError(notes::kDatabaseUnavailable);
        hits = notes::searchNotes(dm->AdoCon, text);
    } catch (const notes::NotesError& error) {
        ShowNotesFailure(texts::searchFailed(), error);
        return;
    }
    lastSearch_ = text;
    search.showHits(hits);
    emit statusChanged(hits.empty() ? texts::nothingFound(text) : texts::foundPlaces(qsizetype(hits.size()), text));
}

// Opens the note of a hit, with the text found selected.
void NotesController::OpenSearchHit(const notes::SearchHit& hit) {
    QTextEdit* editor = nullptr;
    if (hit.date.isValid()) {
        const double value = calendar::dateTimeValue(QDateTime(hit.date, QTime(12, 0)));
        // With a note shown, a new date saves it and loads this one.
        const bool shown = editing_.loadedDay().has_value();
        panel_->calendar()->setDateTime(value);
        if (!shown) guarded([this] { return LoadDayNote(); });
        if (editing_.loadedDay() != hit.date) return;
        editor = panel_->dayEditor();
    } else {
        if (NotePage != hit.page) WeekButtonClick(hit.page);
        if (NotePage != hit.page) return;
        editor = panel_->weekEditors()[hit.column - 1];
    }
    editor->setFocus();
    QTextCursor found = editor->document()->find(lastSearch_);
    if (!found.isNull()) editor->setTextCursor(found);
    editor->ensureCursorVisible();
}

void NotesController::ExportAllNotes() {
    QFileDialog folder(notesHost(), texts::exportAllFolderCaption());
    folder.setObjectName(QStringLiteral("dlgExportAllNotes"));
    folder.setFileMode(QFileDialog::Directory);
    folder.setOption(QFileDialog::ShowDirsOnly);
    folder.setOption(QFileDialog::DontUseNativeDialog);
    if (folder.exec() != QDialog::Accepted || folder.selectedFiles().isEmpty()) return;
    const QString chosen = folder.selectedFiles().front();
    SaveEditors();
    try {
        TDM* dm = editing_.dataModule();
        if (!dm) throw notes::NotesError(notes::kDatabaseUnavailable);
        const notes::ExportCount count = notes::exportAllNotes(
            dm->AdoCon, std::filesystem::path(chosen.toStdU16String()), notes::ExportEncoding::Utf8);
        emit statusChanged(texts::exportedAll(count.dayNotes, count.weekPages, chosen));
    } catch (const std::exception& error) {
        ShowNotesFailure(texts::exportAllFailed(), error);
    }
}

void NotesController::MakeDailyBackup() {
    TDM* dm = editing_.dataModule();
    if (!dm) return;
    try {
        notes::makeDailyBackup(dm->AdoCon, notes::rotatingBackupFolder(dm->AdoCon.file()),
                               QDateTime::fromSecsSinceEpoch(state_.clock()).date());
    } catch (const std::exception& error) {
        emit statusChanged(texts::dailyBackupFailed() + causeOf(error));
    }
}

// The program is ending (its own exit, the close button, a logout): the
// editors are saved, and what cannot be saved is kept for the next start;
// nothing waits for an answer.
void NotesController::NotesQuit() {
    ending_ = true;
    SaveEditors();
}

void NotesController::KeepForRecovery(bool week) {
    notes::UnsavedNotes unsaved;
    if (week && editing_.loadedWeekPage() != 0) {
        notes::UnsavedNotes::Week page{editing_.loadedWeekPage(), {}};
        for (int i = 0; i < notes::kWeekEditors; ++i)
            if (!editing_.weekPreview(i)) page.columns[i] = rtf::writeRtf(*panel_->weekEditors()[i]->document());
        unsaved.weeks.push_back(std::move(page));
    }
    if (!week && editing_.loadedDay() && !editing_.dayPreview())
        unsaved.days.push_back({*editing_.loadedDay(), rtf::writeRtf(*panel_->dayEditor()->document())});
    if (unsaved.empty()) return;
    try {
        const auto file = notes::keepUnsavedNotes(notes::recoveryFiles(state_.folder), unsaved);
        qCInfo(lcNotes) << "notes that could not be saved are kept in" << shownPath(file);
    } catch (const std::exception& error) {
        qCWarning(lcNotes) << "notes that could not be saved are lost:" << error.what();
    }
}

// Notes the last run could not save: offered back, or left for the next
// start.
void NotesController::OfferRecoveredNotes() {
    TDM* dm = editing_.dataModule();
    if (!dm) return;
    const notes::RecoveryFiles files = notes::recoveryFiles(state_.folder);
    const notes::UnsavedNotes unsaved = notes::readUnsavedNotes(files);
    if (unsaved.empty()) return;
    QStringList which;
    for (const auto& day : unsaved.days)
        which << texts::recoveredDayNote(day.date.year(), day.date.month(), day.date.day());
    for (const auto& page : unsaved.weeks) which << texts::recoveredWeekPage(QChar(u'A' + page.page - 1));
    which.removeDuplicates();
    QMessageBox box(QMessageBox::Question, widgets::kApplicationTitle, texts::recoveredNotes(which),
                    QMessageBox::NoButton, &dialogOwner_);
    box.setObjectName(QStringLiteral("dlgRecoveredNotes"));
    box.setInformativeText(texts::writeBackReplaces());
    QPushButton* writeBack = box.addButton(texts::writeBack(), QMessageBox::AcceptRole);
    box.addButton(texts::later(), QMessageBox::RejectRole);
    box.setDefaultButton(writeBack);
    box.exec();
    if (box.clickedButton() != writeBack) return;
    try {
        notes::writeBackUnsavedNotes(*dm, unsaved, notes::rotatingBackupFolder(dm->AdoCon.file()),
                                     QDateTime::fromSecsSinceEpoch(state_.clock()));
        notes::removeRecoveryFiles(files);
    } catch (const std::exception& error) {
        ShowNotesFailure(texts::writeBackFailed(), error);
    }
}

}  // namespace tavlo::notesui
