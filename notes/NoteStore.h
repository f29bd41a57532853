#pragma once
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace tavlo {
class TDM;
}
namespace tavlo::notes {
class Connection;
}

// The stored notes as bytes: the five week pages of six texts and the day
// notes keyed by date. Every call goes through the data module's one query;
// failures of the database come as NotesError.
namespace tavlo::notes {

inline constexpr int kWeekEditors = 6;
using WeekTexts = std::array<QByteArray, kWeekEditors>;

// The columns of a week page, Monday to Friday and then Saturday, which
// holds Sunday's text too.
const std::array<QString, kWeekEditors>& weekColumns();
// "tb_A" … "tb_E" for pages 1 … 5; empty for any other page.
QString weekTable(int page);
// "YYYYMMDD", the key of a day note.
QString dayKey(const QDate& date);
// The date of a key, invalid when it is not eight digits of a real date.
QDate dateOfKey(const QString& key);

// The page's six texts; all empty when its row is missing.
WeekTexts readWeekPage(TDM& dm, int page);
// The same straight from the database, beside the data module's query (for
// reading every note); nothing when the row is missing.
std::optional<WeekTexts> readWeekRow(Connection& connection, int page);
// A note to be written: its stored bytes and, when the caller has it, its
// plain text for the search index (read from the bytes otherwise).
struct NoteToWrite {
    QByteArray bytes;
    std::optional<QString> plainText;
};
using WeekColumnsToWrite = std::array<std::optional<NoteToWrite>, kWeekEditors>;

// Writes the six texts into the page's row, in one transaction. False, and
// nothing written, for a page outside 1 … 5 or when the row is missing.
bool writeWeekPage(TDM& dm, int page, const WeekTexts& texts);
// The same for the columns given; the others keep what they hold.
bool writeWeekColumns(TDM& dm, int page, const WeekColumnsToWrite& columns);

// The day's note; nothing when the date has none.
std::optional<QByteArray> readDayNote(TDM& dm, const QDate& date);
// Replaces the day's note, adding its row when there is none, in one
// transaction (a second copy of the program cannot add the same day twice).
void writeDayNote(TDM& dm, const QDate& date, const QByteArray& text,
                  const std::optional<QString>& plainText = std::nullopt);
// The keys of every day that has a note, in date order.
QStringList dayNoteKeys(TDM& dm);

}  // namespace tavlo::notes
