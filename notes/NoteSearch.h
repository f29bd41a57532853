#pragma once
#include "NoteStore.h"

#include <QDate>
#include <QString>

#include <array>
#include <optional>
#include <vector>

struct sqlite3;

namespace tavlo::notes {

class Connection;

// The search index: a plain-text copy of every note beside its stored RTF
// (an SQLite full-text table with the trigram tokenizer, which finds any
// substring of three characters or more, Chinese included, and Latin
// letters in either case). Each note is a row whose number is its key: a
// day note YYYYMMDD, column c (1 … 6) of week page p (1 … 5) p × 10 + c.
// Notes without visible text have no row, so the rows of a month are the
// days with notes.
//
// Triggers in the database queue every change of the notes tables, whoever
// makes it (an older copy of the program too); a read-write connection
// brings the queued notes up to date on opening and before marking a
// month, and rebuilds the whole index when it is missing, of another
// version, has triggers that are not exactly the program's, or fails the
// full-text table's own check. When another program changes the database
// while a connection has it open, every note is read into the index again
// before the next search. Our own saves update their row in their own
// transaction; an index that fails them is made anew and the save goes on.
// Without the index (no full-text module, or a read-only connection to an
// index that is behind or not the program's) every query reads the notes
// themselves instead.

// Run by a read-write connection when it opens; never throws (the index is
// a copy: without it the notes still work).
void prepareSearchIndex(Connection& connection);

// Puts the note's plain text into the index, inside the caller's
// transaction. Does nothing when there is no index.
void indexDayNote(Connection& connection, const QDate& date, const QString& plainText);
// The columns written (the others are left as they are).
using WeekPlainTexts = std::array<std::optional<QString>, kWeekEditors>;
void indexWeekPage(Connection& connection, int page, const WeekPlainTexts& plainTexts);

// One line of a note that holds the text searched for.
struct SearchHit {
    QDate date;    // a day note's date; invalid for a week page
    int page = 0;  // a week page 1 … 5, and its column 1 … 6
    int column = 0;
    QString line;
};

// Every line of every note that holds `text` (Latin letters in either
// case): day notes by date, then the week pages. Empty for an empty text.
std::vector<SearchHit> searchNotes(Connection& connection, const QString& text);

// The days of the month whose note has visible text, in order.
std::vector<int> daysWithNotes(Connection& connection, int year, int month);

// Whether the index fails its own checks (FTS5's integrity check, its queue
// unreadable): then it is in the way of the notes' saves.
bool searchIndexIsDamaged(Connection& connection);
// Drops the whole index (triggers and tables); the notes are untouched and
// the next prepareSearchIndex makes it anew.
void dropSearchIndex(Connection& connection);

// Drops the index's tables on a bare handle (triggers apart), also a
// full-text table too damaged for its module to open.
void dropSearchTables(sqlite3* db);

// What searches and marks are read from: the index, or the notes themselves.
bool searchIndexIsCurrent(Connection& connection);

}  // namespace tavlo::notes
