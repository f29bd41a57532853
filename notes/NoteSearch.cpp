#include "NoteSearch.h"

#include "Connection.h"
#include "NoteStore.h"
#include "NoteText.h"
#include "NotesError.h"
#include "Sql.h"

#include <sqlite3.h>

#include <functional>
#include <optional>
#include <string>

namespace tavlo::notes {

namespace {

// Raised whenever what goes into the index changes (the plain text of a
// note, the tables): a database with another version is indexed anew.
constexpr int kIndexVersion = 1;

constexpr const char* kWeekLetters = "ABCDE";
constexpr int kTriggerCount = 3 * 6;  // insert, update and delete on six tables

long long dayRow(const QDate& date) {
    return date.year() * 10000LL + date.month() * 100 + date.day();
}

long long weekRow(int page, int column) {
    return page * 10LL + column;
}

int count(sqlite3* db, const char* sql) {
    Sql query(db, sql);
    return query.next() ? static_cast<int>(query.integer(0)) : 0;
}

bool schemaIsCurrent(sqlite3* db) {
    if (!tableExists(db, "NoteSearchInfo") || !tableExists(db, "NoteSearch") || !tableExists(db, "NoteSearchStale"))
        return false;
    if (count(db, "select max(version) from NoteSearchInfo") != kIndexVersion) return false;
    return count(db,
                 "select count(*) from sqlite_master where type = 'trigger'"
                 " and name like 'NoteSearchStale\\_%' escape '\\'") == kTriggerCount;
}

bool queueIsEmpty(sqlite3* db) {
    return count(db, "select exists (select 1 from NoteSearchStale)") == 0;
}

void createTriggers(Connection& connection) {
    const auto trigger = [&](const QString& table, const char* event, const QString& keys) {
        const QString sql = QStringLiteral("create trigger NoteSearchStale_%1_%2 after %2 on %1 begin %3 end")
                                .arg(table, QLatin1String(event), keys);
        connection.exec(sql.toUtf8().constData());
    };
    const auto queue = [](const char* key) {
        return QStringLiteral("insert or ignore into NoteSearchStale values (%1);").arg(QLatin1String(key));
    };
    trigger(QStringLiteral("UserCon"), "insert", queue("new.conIndex"));
    trigger(QStringLiteral("UserCon"), "update", queue("old.conIndex") + queue("new.conIndex"));
    trigger(QStringLiteral("UserCon"), "delete", queue("old.conIndex"));
    for (const char* letter = kWeekLetters; *letter; ++letter) {
        const QString table = weekTable(*letter - 'A' + 1);
        const QByteArray key = QByteArray("'") + *letter + "'";
        for (const char* event : {"insert", "update", "delete"}) trigger(table, event, queue(key.constData()));
    }
}

void dropIndexTables(Connection& connection) {
    sqlite3* db = connection.handle();
    std::vector<QString> triggers;
    Sql names(db,
              "select name from sqlite_master where type = 'trigger' and name like 'NoteSearchStale\\_%' escape '\\'");
    while (names.next()) triggers.push_back(names.text(0));
    // The names come from the file: each is quoted and dropped on its own.
    for (const QString& name : triggers) Sql(db, ("drop trigger " + quotedIdentifier(name)).toUtf8().constData()).run();
    dropSearchTables(db);
}

// Drops whatever there is of an index and makes a new one with every note
// queued.
void rebuildSchema(Connection& connection) {
    Transaction transaction(connection);
    dropIndexTables(connection);
    connection.exec("create virtual table NoteSearch using fts5(plain, tokenize = 'trigram case_sensitive 0')");
    connection.exec("create table NoteSearchStale (noteKey text primary key) without rowid");
    connection.exec("create table NoteSearchInfo (version integer not null)");
    connection.exec(("insert into NoteSearchInfo values (" + std::to_string(kIndexVersion) + ")").c_str());
    createTriggers(connection);
    connection.exec("insert or ignore into NoteSearchStale select conIndex from UserCon");
    connection.exec("insert into NoteSearchStale values ('A'), ('B'), ('C'), ('D'), ('E')");
    transaction.commit();
}

void setRow(sqlite3* db, long long row, const QString& plainText) {
    Sql(db, "delete from NoteSearch where rowid = ?1").bind(1, row).run();
    if (hasVisibleText(plainText))
        Sql(db, "insert into NoteSearch (rowid, plain) values (?1, ?2)").bind(1, row).bind(2, plainText).run();
}

void dequeue(sqlite3* db, const QString& key) {
    Sql(db, "delete from NoteSearchStale where noteKey = ?1").bind(1, key).run();
}

void reindexDay(sqlite3* db, const QString& key) {
    const QDate date = dateOfKey(key);
    if (!date.isValid()) return;
    Sql note(db, "select data from UserCon where conIndex = ?1");
    note.bind(1, key);
    setRow(db, dayRow(date), note.next() ? notePlainText(note.blob(0)) : QString());
}

void reindexWeek(Connection& connection, int page) {
    sqlite3* db = connection.handle();
    const std::optional<WeekTexts> texts = readWeekRow(connection, page);
    for (int column = 1; column <= kWeekEditors; ++column)
        setRow(db, weekRow(page, column), texts ? notePlainText((*texts)[column - 1]) : QString());
}

void reindexQueued(Connection& connection) {
    sqlite3* db = connection.handle();
    if (queueIsEmpty(db)) return;
    Transaction transaction(connection);
    std::vector<QString> keys;
    Sql queued(db, "select noteKey from NoteSearchStale");
    while (queued.next()) keys.push_back(queued.text(0));
    for (const QString& key : keys) {
        if (key.size() == 1 && QByteArray(kWeekLetters).contains(key[0].toLatin1()))
            reindexWeek(connection, key[0].toLatin1() - 'A' + 1);
        else
            reindexDay(db, key);
    }
    connection.exec("delete from NoteSearchStale");
    transaction.commit();
}

// Brings a read-write connection's index up to date; false when there is
// no index to use.
bool catchUp(Connection& connection) {
    sqlite3* db = connection.handle();
    try {
        if (!schemaIsCurrent(db)) return false;
        if (connection.mode() == Connection::Mode::ReadWrite) reindexQueued(connection);
        return queueIsEmpty(db);
    } catch (const NotesError& error) {
        logFailure(error);
        return false;
    }
}

// Every note, read from the notes themselves: (row number, plain text).
void forEachNote(Connection& connection, const std::function<void(long long, const QString&)>& visit) {
    sqlite3* db = connection.handle();
    Sql days(db, "select conIndex, data from UserCon order by conIndex");
    while (days.next()) {
        const QDate date = dateOfKey(days.text(0));
        if (date.isValid()) visit(dayRow(date), notePlainText(days.blob(1)));
    }
    for (int page = 1; page <= 5; ++page) {
        const std::optional<WeekTexts> texts = readWeekRow(connection, page);
        if (!texts) continue;
        for (int column = 1; column <= kWeekEditors; ++column)
            visit(weekRow(page, column), notePlainText((*texts)[column - 1]));
    }
}

QString escapedLike(const QString& text) {
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'%', QStringLiteral("\\%"))
        .replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

// The index's rows that hold the text: (row number, plain text).
void forEachIndexedMatch(sqlite3* db, const QString& text,
                         const std::function<void(long long, const QString&)>& visit) {
    // The trigram index answers a phrase of three characters or more;
    // shorter texts are looked for row by row.
    const bool phrase = text.toUcs4().size() >= 3;
    Sql query(db, phrase ? "select rowid, plain from NoteSearch where NoteSearch match ?1 order by rowid"
                         : "select rowid, plain from NoteSearch where plain like ?1 escape '\\' order by rowid");
    if (phrase)
        query.bind(1, u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"');
    else
        query.bind(1, escapedLike(text));
    while (query.next()) visit(query.integer(0), query.text(1));
}

void addHits(std::vector<SearchHit>& hits, long long row, const QString& plainText, const QString& text) {
    SearchHit hit;
    if (row < 100) {
        hit.page = static_cast<int>(row / 10);
        hit.column = static_cast<int>(row % 10);
    } else {
        hit.date = QDate(static_cast<int>(row / 10000), static_cast<int>(row / 100 % 100), static_cast<int>(row % 100));
    }
    // Each match, widened to its line; the search goes on after that line.
    const auto isBreak = [](QChar c) {
        return c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
    };
    qsizetype at = 0;
    while ((at = plainText.indexOf(text, at, Qt::CaseInsensitive)) >= 0) {
        qsizetype start = at, end = at + text.size();
        while (start > 0 && !isBreak(plainText[start - 1])) --start;
        while (end < plainText.size() && !isBreak(plainText[end])) ++end;
        hit.line = plainText.mid(start, end - start);
        hits.push_back(hit);
        at = end;
    }
}

}  // namespace

void dropSearchTables(sqlite3* db) {
    try {
        Sql(db, "drop table if exists NoteSearch").run();
    } catch (const NotesError& error) {
        // The full-text module cannot open a table whose own data is
        // damaged, and so cannot drop it either: its entry goes from the
        // schema, and its tables go as the plain tables they are.
        logFailure(error);
        Sql(db, "pragma writable_schema = on").run();
        Sql(db, "delete from sqlite_master where type = 'table' and name = 'NoteSearch'").run();
        Sql(db, "pragma writable_schema = reset").run();
        for (const char* shadow : {"data", "idx", "content", "docsize", "config"})
            Sql(db, (std::string("drop table if exists NoteSearch_") + shadow).c_str()).run();
    }
    Sql(db, "drop table if exists NoteSearchStale").run();
    Sql(db, "drop table if exists NoteSearchInfo").run();
}

void prepareSearchIndex(Connection& connection) {
    try {
        if (!schemaIsCurrent(connection.handle())) rebuildSchema(connection);
        reindexQueued(connection);
    } catch (const NotesError& error) {
        logFailure(error);
    }
}

void indexDayNote(Connection& connection, const QDate& date, const QString& plainText) {
    sqlite3* db = connection.handle();
    try {
        if (!tableExists(db, "NoteSearch")) return;
        setRow(db, dayRow(date), plainText);
        dequeue(db, dayKey(date));
    } catch (const NotesError& error) {
        logFailure(error);  // still queued: indexed when the program next opens the notes
        connection.setSearchIndexFailed();
    }
}

void indexWeekPage(Connection& connection, int page, const WeekPlainTexts& plainTexts) {
    sqlite3* db = connection.handle();
    try {
        if (!tableExists(db, "NoteSearch")) return;
        for (int column = 1; column <= kWeekEditors; ++column)
            if (plainTexts[column - 1]) setRow(db, weekRow(page, column), *plainTexts[column - 1]);
        dequeue(db, QString(QChar(u'A' + page - 1)));
    } catch (const NotesError& error) {
        logFailure(error);
        connection.setSearchIndexFailed();
    }
}

bool searchIndexIsDamaged(Connection& connection) {
    sqlite3* db = connection.handle();
    try {
        if (tableExists(db, "NoteSearch"))
            Sql(db, "insert into NoteSearch (NoteSearch) values ('integrity-check')").run();
        if (tableExists(db, "NoteSearchStale") || tableExists(db, "NoteSearchInfo")) queueIsEmpty(db);
        return false;
    } catch (const NotesError& error) {
        logFailure(error);
        return true;
    }
}

void dropSearchIndex(Connection& connection) {
    Transaction transaction(connection);
    dropIndexTables(connection);
    transaction.commit();
}

bool searchIndexIsCurrent(Connection& connection) {
    try {
        sqlite3* db = connection.handle();
        return schemaIsCurrent(db) && queueIsEmpty(db);
    } catch (const NotesError& error) {
        logFailure(error);
        return false;
    }
}

std::vector<SearchHit> searchNotes(Connection& connection, const QString& text) {
    std::vector<SearchHit> days, weeks;
    if (text.isEmpty()) return days;
    const auto collect = [&](long long row, const QString& plainText) {
        addHits(row < 100 ? weeks : days, row, plainText, text);
    };
    sqlite3* db = connection.handle();
    if (catchUp(connection))
        forEachIndexedMatch(db, text, collect);
    else
        forEachNote(connection, [&](long long row, const QString& plainText) {
            if (plainText.contains(text, Qt::CaseInsensitive)) collect(row, plainText);
        });
    days.insert(days.end(), weeks.begin(), weeks.end());
    return days;
}

std::vector<int> daysWithNotes(Connection& connection, int year, int month) {
    std::vector<int> days;
    const QDate first(year, month, 1);
    if (!first.isValid()) return days;
    sqlite3* db = connection.handle();
    if (catchUp(connection)) {
        Sql rows(db, "select rowid from NoteSearch where rowid between ?1 and ?2 order by rowid");
        rows.bind(1, dayRow(first)).bind(2, dayRow(first) + 30);
        while (rows.next()) days.push_back(static_cast<int>(rows.integer(0) % 100));
        return days;
    }
    Sql notes(db, "select conIndex, data from UserCon where conIndex between ?1 and ?2 order by conIndex");
    notes.bind(1, dayKey(first)).bind(2, dayKey(first.addDays(first.daysInMonth() - 1)));
    while (notes.next()) {
        const QDate date = dateOfKey(notes.text(0));
        if (date.isValid() && hasVisibleText(notePlainText(notes.blob(1)))) days.push_back(date.day());
    }
    return days;
}

}  // namespace tavlo::notes
