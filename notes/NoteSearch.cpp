#include "NoteSearch.h"

#include "Connection.h"
#include "NoteStore.h"
#include "NoteText.h"
#include "NotesError.h"
#include "Sql.h"

#include <sqlite3.h>

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace tavlo::notes {

namespace {

// Raised whenever what goes into the index changes (the plain text of a
// note, the tables): a database with another version is indexed anew.
constexpr int kIndexVersion = 1;

constexpr const char* kWeekLetters = "ABCDE";

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

// The program's triggers, by name: each queues the notes a change of its
// table touches.
std::map<QString, QString> expectedTriggers() {
    std::map<QString, QString> triggers;
    const auto trigger = [&](const QString& table, const char* event, const QString& keys) {
        const QString name = QStringLiteral("NoteSearchStale_%1_%2").arg(table, QLatin1String(event));
        triggers[name] = QStringLiteral("CREATE TRIGGER %1 after %2 on %3 begin %4 end")
                             .arg(name, QLatin1String(event), table, keys);
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
    return triggers;
}

// Whether the triggers under the index's names, and those on its tables,
// are exactly the program's: another program may have dropped, changed or
// added some, and changes of the notes then go past the index.
bool triggersAreTheProgramsOwn(sqlite3* db) {
    const std::map<QString, QString> expected = expectedTriggers();
    Sql triggers(db,
                 "select name, sql from sqlite_master where type = 'trigger' and (name like 'NoteSearchStale\\_%'"
                 " escape '\\' or tbl_name in ('NoteSearch', 'NoteSearchStale', 'NoteSearchInfo'))");
    std::size_t matched = 0;
    while (triggers.next()) {
        const auto trigger = expected.find(triggers.text(0));
        if (trigger == expected.end() || triggers.text(1) != trigger->second) return false;
        ++matched;
    }
    return matched == expected.size();
}

bool schemaIsCurrent(sqlite3* db) {
    if (!tableExists(db, "NoteSearchInfo") || !tableExists(db, "NoteSearch") || !tableExists(db, "NoteSearchStale"))
        return false;
    if (count(db, "select max(version) from NoteSearchInfo") != kIndexVersion) return false;
    return triggersAreTheProgramsOwn(db);
}

// The full-text table's own check: its index against its content.
bool indexIsSound(sqlite3* db) {
    try {
        Sql(db, "insert into NoteSearch (NoteSearch) values ('integrity-check')").run();
        return true;
    } catch (const NotesError& error) {
        logFailure(error);
        return false;
    }
}

long long dataVersion(sqlite3* db) {
    Sql version(db, "pragma data_version");
    return version.next() ? version.integer(0) : -1;
}

bool queueIsEmpty(sqlite3* db) {
    return count(db, "select exists (select 1 from NoteSearchStale)") == 0;
}

void createTriggers(Connection& connection) {
    for (const auto& [name, sql] : expectedTriggers()) connection.exec(sql.toUtf8().constData());
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

// Rows that stand for no note (put there by another program): a day that
// has no row in UserCon, a week column that does not exist.
void removeRowsOfNoNote(Connection& connection) {
    connection.exec(
        "delete from NoteSearch where case when rowid < 100 then rowid / 10 not between 1 and 5"
        " or rowid % 10 not between 1 and 6 else rowid not in (select cast(conIndex as integer) from UserCon) end");
}

// Another program changed the database while this connection had it open:
// its index is checked against the notes. One that fails its own check is
// made anew; otherwise every note is queued to be read again, and rows of
// notes that are not there go.
void checkAgainstTheNotes(Connection& connection) {
    sqlite3* db = connection.handle();
    if (!indexIsSound(db)) {
        rebuildSchema(connection);
        return;
    }
    Transaction transaction(connection);
    connection.exec("insert or ignore into NoteSearchStale select conIndex from UserCon");
    connection.exec("insert or ignore into NoteSearchStale values ('A'), ('B'), ('C'), ('D'), ('E')");
    removeRowsOfNoNote(connection);
    transaction.commit();
}

// Brings a read-write connection's index up to date, and makes it anew when
// another program left it unfit; false when there is no index to use. A
// search first has the full-text table check itself, once per opening.
bool catchUp(Connection& connection, bool forSearch) {
    sqlite3* db = connection.handle();
    try {
        if (connection.mode() == Connection::Mode::ReadOnly) return schemaIsCurrent(db) && queueIsEmpty(db);
        const long long version = dataVersion(db);
        if (!schemaIsCurrent(db))
            rebuildSchema(connection);
        else if (version != connection.seenDataVersion())
            checkAgainstTheNotes(connection);
        else if (forSearch && !connection.searchIndexChecked() && !indexIsSound(db))
            rebuildSchema(connection);
        if (forSearch) connection.setSearchIndexChecked(true);
        reindexQueued(connection);
        connection.setSeenDataVersion(version);
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

// Every note longer than the index reads: (row number, stored bytes). The
// sizes are read without reading the notes.
void forEachLongNote(Connection& connection, const std::function<void(long long, const QByteArray&)>& visit) {
    sqlite3* db = connection.handle();
    Sql days(db,
             "select conIndex, data from UserCon where case typeof(data) when 'text' then length(cast(data as blob))"
             " else length(data) end > ?1");
    days.bind(1, static_cast<long long>(kIndexedNoteBytes));
    while (days.next())
        if (const QDate date = dateOfKey(days.text(0)); date.isValid()) visit(dayRow(date), days.blob(1));
    for (int page = 1; page <= 5; ++page) {
        const std::optional<WeekTexts> texts = readWeekRow(connection, page);
        if (!texts) continue;
        for (int column = 1; column <= kWeekEditors; ++column)
            if ((*texts)[column - 1].size() > kIndexedNoteBytes) visit(weekRow(page, column), (*texts)[column - 1]);
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
        sqlite3* db = connection.handle();
        // Left unfit by another program: made anew. (Whether its content
        // matches its index is checked before the first search: reading the
        // whole index would make every opening slow.)
        if (!schemaIsCurrent(db)) {
            rebuildSchema(connection);
        } else {
            Transaction transaction(connection);
            removeRowsOfNoNote(connection);
            transaction.commit();
        }
        reindexQueued(connection);
        connection.setSeenDataVersion(dataVersion(db));
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
    sqlite3* db = connection.handle();
    // The index holds the first kIndexedNoteBytes of a note: longer notes are
    // read whole instead, so that a search looks everywhere.
    std::map<long long, QByteArray> longNotes;
    forEachLongNote(connection, [&](long long row, const QByteArray& bytes) { longNotes[row] = bytes; });
    std::map<long long, QString> matches;  // by row: days by date, then the week pages
    const auto keep = [&](long long row, const QString& plainText) {
        if (!longNotes.contains(row)) matches[row] = plainText;
    };
    if (catchUp(connection, true))
        forEachIndexedMatch(db, text, keep);
    else
        forEachNote(connection, [&](long long row, const QString& plainText) {
            if (plainText.contains(text, Qt::CaseInsensitive)) keep(row, plainText);
        });
    for (const auto& [row, bytes] : longNotes)
        if (QString plainText = notePlainText(bytes, bytes.size()); plainText.contains(text, Qt::CaseInsensitive))
            matches[row] = std::move(plainText);
    for (const auto& [row, plainText] : matches) addHits(row < 100 ? weeks : days, row, plainText, text);
    days.insert(days.end(), weeks.begin(), weeks.end());
    return days;
}

std::vector<int> daysWithNotes(Connection& connection, int year, int month) {
    std::vector<int> days;
    const QDate first(year, month, 1);
    if (!first.isValid()) return days;
    sqlite3* db = connection.handle();
    if (catchUp(connection, false)) {
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
