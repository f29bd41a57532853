#include "BackupContents.h"

#include "Connection.h"
#include "NoteSearch.h"
#include "NoteStore.h"
#include "NotesError.h"
#include "Sql.h"

#include <sqlite3.h>

#include <map>
#include <vector>

namespace tavlo::notes {

namespace {

enum class Affinity { Integer, Text, Blob, Other };

// SQLite's rules for the affinity of a declared column type.
Affinity affinityOf(const QString& declared) {
    const QString type = declared.toUpper();
    if (type.contains(QLatin1String("INT"))) return Affinity::Integer;
    if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("CLOB")) ||
        type.contains(QLatin1String("TEXT")))
        return Affinity::Text;
    if (type.isEmpty() || type.contains(QLatin1String("BLOB"))) return Affinity::Blob;
    return Affinity::Other;
}

std::map<QString, Affinity> expectedColumns(const QString& table) {
    if (table == QLatin1String("UserCon"))
        return {{QStringLiteral("conIndex"), Affinity::Text}, {QStringLiteral("data"), Affinity::Blob}};
    std::map<QString, Affinity> columns{{QStringLiteral("ID"), Affinity::Integer}};
    for (const QString& column : weekColumns()) columns[column] = Affinity::Blob;
    return columns;
}

[[noreturn]] void refuse(const QString& table, const char* what) {
    throw NotesError(QStringLiteral("记事表“%1”%2").arg(table, QLatin1String(what)).toStdString(),
                     "restore: table " + table.toStdString() + " refused");
}

void checkTable(sqlite3* db, const QString& table) {
    Sql definition(db, "select sql from sqlite_master where type = 'table' and name = ?1");
    definition.bind(1, table);
    if (!definition.next()) throw NotesError(kNotNotesDatabase, "restore: no table " + table.toStdString());
    // A virtual table runs a module's code for every read and write.
    if (definition.text(0).trimmed().startsWith(QLatin1String("create virtual"), Qt::CaseInsensitive))
        refuse(table, "不是普通的表");
    std::map<QString, Affinity> expected = expectedColumns(table);
    Sql columns(db, "select name, type, hidden from pragma_table_xinfo(?1)");
    columns.bind(1, table);
    std::size_t matched = 0;
    while (columns.next()) {
        const auto column = expected.find(columns.text(0));
        if (column == expected.end() || columns.integer(2) != 0 || affinityOf(columns.text(1)) != column->second)
            refuse(table, "的列与记事不符");
        ++matched;
    }
    if (matched != expected.size()) refuse(table, "的列与记事不符");
}

// The names of the schema's objects of one type.
std::vector<QString> objectsOfType(sqlite3* db, const char* type) {
    std::vector<QString> names;
    Sql query(db, "select name from sqlite_master where type = ?1");
    query.bind(1, QString::fromLatin1(type));
    while (query.next()) names.push_back(query.text(0));
    return names;
}

void run(sqlite3* db, const QString& statement) {
    Sql(db, statement.toUtf8().constData()).run();
}

// Runs on a bare handle: a connection of the program would run the search
// index's upkeep first, and with it whatever triggers the backup holds.
void stripSchema(sqlite3* db) {
    Sql(db, "begin immediate").run();
    try {
        // Each by its own quoted name: the names are the backup's.
        for (const QString& name : objectsOfType(db, "trigger")) run(db, "drop trigger " + quotedIdentifier(name));
        for (const QString& name : objectsOfType(db, "view")) run(db, "drop view " + quotedIdentifier(name));
        dropSearchTables(db);
        Sql(db, "commit").run();
    } catch (...) {
        sqlite3_exec(db, "rollback", nullptr, nullptr, nullptr);
        throw;
    }
}

}  // namespace

void checkNotesTables(sqlite3* db) {
    for (int page = 1; page <= 5; ++page) checkTable(db, weekTable(page));
    checkTable(db, QStringLiteral("UserCon"));
}

void stageBackup(const std::filesystem::path& backup, const std::filesystem::path& staged) {
    sqlite3* source = nullptr;
    sqlite3* target = nullptr;
    int result = sqlite3_open_v2(backup.string().c_str(), &source, SQLITE_OPEN_READONLY, nullptr);
    if (result == SQLITE_OK)
        result = sqlite3_open_v2(staged.string().c_str(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (result == SQLITE_OK) {
        sqlite3_busy_timeout(source, Connection::kBusyTimeoutMs);
        sqlite3_extended_result_codes(target, 1);
        sqlite3_backup* copy = sqlite3_backup_init(target, "main", source, "main");
        result = copy ? sqlite3_backup_step(copy, -1) : sqlite3_errcode(target);
        sqlite3_backup_finish(copy);
        if (result == SQLITE_DONE) result = SQLITE_OK;
    }
    try {
        if (result != SQLITE_OK) throwSqliteError(target, result, "restore: staging " + backup.string());
        stripSchema(target);
    } catch (...) {
        sqlite3_close_v2(source);
        sqlite3_close_v2(target);
        throw;
    }
    sqlite3_close_v2(source);
    sqlite3_close_v2(target);
    // Opened by the program, it gets the program's triggers and an index
    // made from the notes.
    Connection connection(staged);
    connection.handle();
    if (!searchIndexIsCurrent(connection)) qCDebug(lcNotes) << "the restored notes have no search index";
}

}  // namespace tavlo::notes
