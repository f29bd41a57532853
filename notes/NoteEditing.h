#pragma once
#include "NoteStore.h"

#include <QDate>

#include <array>
#include <optional>

class QTextDocument;

namespace tavlo::notes {

// Stored notes longer than this are not given to an editor: laying out
// megabytes of text would freeze the window for seconds or minutes. They
// are shown as a preview instead (below).
inline constexpr qsizetype kEditableNoteBytes = 1024 * 1024;
// Laying out one paragraph costs more than its length's worth: a note with a
// paragraph longer than this is shown as a preview too, whatever its size.
inline constexpr qsizetype kEditableParagraphChars = 20'000;
// A preview: the plain text of the note's beginning, at most this many
// characters, read from at most kPreviewSourceBytes of it, its long lines
// cut into lines of kPreviewLineChars.
inline constexpr qsizetype kPreviewChars = 100'000;
inline constexpr qsizetype kPreviewSourceBytes = 1024 * 1024;
inline constexpr qsizetype kPreviewLineChars = 2'000;

// The notes as the editors see them: loads fill documents, saves write
// them as Rich Text Format. It remembers which page and which day the
// documents were loaded from, so that a save never writes documents that
// were not loaded (at start-up they are empty) and always files them where
// they came from, whatever page number or date is current by then.
//
// A note too large to edit is loaded as a preview, and a save never writes
// a preview back: the stored note stays whole.
class NoteEditing {
public:
    using WeekDocuments = std::array<QTextDocument*, kWeekEditors>;
    enum class Saved {
        Written,
        NothingWritten,  // a page outside 1 … 5, or its row is missing
        HeldBack         // nothing was loaded yet, or only a preview
    };

    // Without a data module the notes cannot be reached: loads fail.
    explicit NoteEditing(TDM* dm) : dm_(dm) {}
    void setDataModule(TDM* dm) { dm_ = dm; }
    TDM* dataModule() const { return dm_; }

    // Fills the six documents from the page. On failure (NotesError) none
    // of them changes and the page they were loaded from stays theirs.
    void loadWeek(int page, const WeekDocuments& documents);
    // Writes the documents into the page they were loaded from. Nothing for
    // a page outside 1 … 5 (the number while a page loads).
    Saved saveWeek(int page, const WeekDocuments& documents);

    // Fills the document with the date's note, empty when it has none.
    void loadDay(const QDate& date, QTextDocument& document);
    // Writes the document as the note of the date it was loaded for.
    Saved saveDay(const QTextDocument& document);

    int loadedWeekPage() const { return loadedWeek_; }
    std::optional<QDate> loadedDay() const { return loadedDay_; }

    // The stored size of a note shown as a preview; nothing for a note
    // loaded whole.
    std::optional<qsizetype> dayPreview() const { return dayPreview_; }
    std::optional<qsizetype> weekPreview(int column) const { return weekPreviews_[column]; }

private:
    TDM& dm();

    TDM* dm_ = nullptr;
    int loadedWeek_ = 0;
    std::optional<QDate> loadedDay_;
    std::optional<qsizetype> dayPreview_;
    std::array<std::optional<qsizetype>, kWeekEditors> weekPreviews_;
};

// Fills the document with a stored note: whole, or as a preview when it is
// too large to edit. The stored size when it is a preview.
std::optional<qsizetype> loadNoteOrPreview(const QByteArray& bytes, QTextDocument& document);

// The date stamp: " 2010.06.01 (二)", the weekday Monday 一 to Sunday 日.
QString dateStamp(const QDate& date);

// What the export command writes: the plain text followed by CR LF, every
// line ended by CR LF, in GB18030 (the Chinese code page's superset).
QByteArray exportBytes(const QString& plainText);
// The export's file: the chosen name with ".txt" appended, always.
QString exportFileName(const QString& chosen);
// The proposed name: the page letter ("A" … "E", none for other pages)
// followed by "备忘录".
QString exportProposedName(int notePage);
// Writes the export file whole or not at all; throws std::exception with a
// readable text on failure.
void writeExport(const QString& chosen, const QString& plainText);

}  // namespace tavlo::notes
