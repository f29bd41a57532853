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
    return QStringLiteral("原因：") + widgets::failureText(error);
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
        emit statusChanged(QStringLiteral("请先输入要找的文字。"));
        return;
    }
    SaveEditors();
    std::vector<notes::SearchHit> hits;
    try {
        TDM* dm = editing_.dataModule();
        if (!dm) throw notes::NotesError(notes::kDatabaseUnavailable);
        hits = notes::searchNotes(dm->AdoCon, text);
    } catch (const notes::NotesError& error) {
        ShowNotesFailure(QStringLiteral("搜索记事失败！"), error);
        return;
    }
    lastSearch_ = text;
    search.showHits(hits);
    emit statusChanged(
        hits.empty() ? QStringLiteral("没有找到包含“%1”的记事。").arg(text)
                     : QStringLiteral("找到 %1 处包含“%2”的地方，单击一行打开那篇记事。").arg(hits.size()).arg(text));
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
    QFileDialog folder(notesHost(), QStringLiteral("导出全部记事到文件夹"));
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
        emit statusChanged(
            QStringLiteral("已导出 %1 篇日记、%2 页周记到“%3”。").arg(count.dayNotes).arg(count.weekPages).arg(chosen));
    } catch (const std::exception& error) {
        ShowNotesFailure(QStringLiteral("导出全部记事失败！"), error);
    }
}

void NotesController::MakeDailyBackup() {
    TDM* dm = editing_.dataModule();
    if (!dm) return;
    try {
        notes::makeDailyBackup(dm->AdoCon, notes::rotatingBackupFolder(dm->AdoCon.file()),
                               QDateTime::fromSecsSinceEpoch(state_.clock()).date());
    } catch (const std::exception& error) {
        emit statusChanged(QStringLiteral("今天的记事自动备份没有做成。") + causeOf(error));
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
        which << QStringLiteral("%1年%2月%3日的日记").arg(day.date.year()).arg(day.date.month()).arg(day.date.day());
    for (const auto& page : unsaved.weeks) which << QStringLiteral("周记 %1 页").arg(QChar(u'A' + page.page - 1));
    which.removeDuplicates();
    QMessageBox box(QMessageBox::Question, widgets::kApplicationTitle,
                    QStringLiteral("上次退出时有记事没能保存，已经找回：%1。").arg(which.join(QStringLiteral("、"))),
                    QMessageBox::NoButton, &dialogOwner_);
    box.setObjectName(QStringLiteral("dlgRecoveredNotes"));
    box.setInformativeText(QStringLiteral("写回后，它们会替换记事中原来的内容。"));
    QPushButton* writeBack = box.addButton(QStringLiteral("写回记事"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("以后再说"), QMessageBox::RejectRole);
    box.setDefaultButton(writeBack);
    box.exec();
    if (box.clickedButton() != writeBack) return;
    try {
        notes::writeBackUnsavedNotes(*dm, unsaved);
        notes::removeRecoveryFiles(files);
    } catch (const std::exception& error) {
        ShowNotesFailure(QStringLiteral("写回找回的记事失败！找回的内容仍然保留，下次启动时会再问。"), error);
    }
}

}  // namespace tavlo::notesui
