#include "Connection.h"

#include "NoteSearch.h"
#include "NotesError.h"

#include <sqlite3.h>

#include <array>
#include <string>

namespace tavlo::notes {

namespace {

constexpr std::array<const char*, 5> kWeekTables = {"tb_A", "tb_B", "tb_C", "tb_D", "tb_E"};

// How many of the notes' own tables the database holds, and how many
// tables it holds at all.
struct TableCount {
    int notes = 0;
    int all = 0;
};

TableCount countTables(sqlite3* db) {
    sqlite3_stmt* statement = nullptr;
    const char* sql =
        "select count(*), coalesce(sum(name in ('tb_A', 'tb_B', 'tb_C', 'tb_D', 'tb_E', 'UserCon')), 0)"
        " from sqlite_master where type = 'table' and name not like 'sqlite\\_%' escape '\\'";
    int result = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (result != SQLITE_OK) throwSqliteError(db, result, "reading the notes database's tables");
    result = sqlite3_step(statement);
    TableCount count;
    if (result == SQLITE_ROW) {
        count.all = sqlite3_column_int(statement, 0);
        count.notes = sqlite3_column_int(statement, 1);
    }
    sqlite3_finalize(statement);
    if (result != SQLITE_ROW) throwSqliteError(db, result, "reading the notes database's tables");
    return count;
}

}  // namespace

bool tableExists(sqlite3* db, const char* name) {
    sqlite3_stmt* statement = nullptr;
    int result = sqlite3_prepare_v2(db, "select 1 from sqlite_master where type = 'table' and name = ?1", -1,
                                    &statement, nullptr);
    if (result != SQLITE_OK) throwSqliteError(db, result, "notes database");
    sqlite3_bind_text(statement, 1, name, -1, SQLITE_STATIC);
    result = sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (result != SQLITE_ROW && result != SQLITE_DONE) throwSqliteError(db, result, "notes database");
    return result == SQLITE_ROW;
}

Connection::Connection(std::filesystem::path file, Mode mode) : file_(std::move(file)), mode_(mode) {}

Connection::~Connection() {
    close();
}

void Connection::close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
    searchIndexChecked_ = false;
}

sqlite3* Connection::handle() {
    if (!db_) openAndPrepare();
    return db_;
}

void Connection::exec(const char* sql) {
    char* message = nullptr;
    const int result = sqlite3_exec(handle(), sql, nullptr, nullptr, &message);
    if (result != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        throw NotesError(describeSqliteError(db_, result), std::string("notes database: ") + sql + ": " + text);
    }
}

void Connection::openAndPrepare() {
    const bool readOnly = mode_ == Mode::ReadOnly;
    std::error_code error;
    if (readOnly) {
        if (!std::filesystem::is_regular_file(file_, error)) throw NotesError(kNoDatabase, file_.string());
    } else {
        std::filesystem::create_directories(file_.parent_path(), error);
    }
    sqlite3* db = nullptr;
    // Read-only, the file is still opened for writing where it can be, with
    // every change refused: only a connection that may write removes, as it
    // closes, the -wal and -shm files that reading a WAL database makes.
    const int flags = SQLITE_OPEN_READWRITE | (readOnly ? 0 : SQLITE_OPEN_CREATE);
    const int opened = sqlite3_open_v2(file_.string().c_str(), &db, flags, nullptr);
    if (opened != SQLITE_OK) {
        const std::string cause = describeSqliteError(db, opened);
        const std::string detail = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        throw NotesError(cause, "opening " + file_.string() + ": " + detail);
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    db_ = db;
    try {
        if (readOnly) exec("pragma query_only = 1");
        // Reading the schema is what tells a database from any other file.
        const TableCount tables = countTables(db);
        if (readOnly ? tables.notes < 6 : tables.all > 0 && tables.notes == 0)
            throw NotesError(kNotNotesDatabase, file_.string());
        if (!readOnly) createNotesTables();
    } catch (...) {
        // Not a database, another program's, or damaged: leave the file
        // untouched and try again on the next use.
        close();
        throw;
    }
    if (!readOnly) prepareSearchIndex(*this);
}

void Connection::createNotesTables() {
    // The tables and their week rows come with the database: a week row is
    // made with its table only, so a row deleted later stays deleted.
    Transaction transaction(*this);
    for (const char* table : kWeekTables) {
        if (tableExists(db_, table)) continue;
        const std::string name(table);
        exec(("create table " + name +
              " (ID integer primary key, MondayCon blob, TuesdayCon blob, WednesdayCon blob,"
              " ThursdayCon blob, FridayCon blob, SaturdayCon blob)")
                 .c_str());
        exec(("insert into " + name + " (ID) values (1)").c_str());
    }
    exec("create table if not exists UserCon (conIndex text not null unique, data blob)");
    transaction.commit();
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
    connection_.exec("begin immediate");
}

Transaction::~Transaction() {
    if (!open_ || !connection_.isOpen()) return;
    sqlite3_exec(connection_.handle(), "rollback", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    connection_.exec("commit");
    open_ = false;
}

}  // namespace tavlo::notes
