#include "Connection.h"

#include "NotesError.h"

#include <sqlite3.h>

#include <array>
#include <string>

namespace tavlo::notes {

namespace {

constexpr std::array<const char*, 5> kWeekTables = {"tb_A", "tb_B", "tb_C", "tb_D", "tb_E"};

[[noreturn]] void fail(sqlite3* db, const std::string& what) {
    throw NotesError(what + ": " + (db ? sqlite3_errmsg(db) : "out of memory"));
}

bool tableExists(sqlite3* db, const char* name) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "select 1 from sqlite_master where type = 'table' and name = ?1", -1, &statement,
                           nullptr) != SQLITE_OK)
        fail(db, "notes database");
    sqlite3_bind_text(statement, 1, name, -1, SQLITE_STATIC);
    const int step = sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (step != SQLITE_ROW && step != SQLITE_DONE) fail(db, "notes database");
    return step == SQLITE_ROW;
}

}  // namespace

Connection::Connection(std::filesystem::path file) : file_(std::move(file)) {}

Connection::~Connection() {
    close();
}

void Connection::close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

sqlite3* Connection::handle() {
    if (!db_) openAndPrepare();
    return db_;
}

void Connection::exec(const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(handle(), sql, nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        throw NotesError("notes database: " + text);
    }
}

void Connection::openAndPrepare() {
    std::error_code error;
    std::filesystem::create_directories(file_.parent_path(), error);
    sqlite3* db = nullptr;
    const int opened =
        sqlite3_open_v2(file_.string().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (opened != SQLITE_OK) {
        const std::string text = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        throw NotesError("notes database " + file_.string() + ": " + text);
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    db_ = db;
    try {
        // The tables and their week rows come with the database: a week row
        // is made with its table only, so a row deleted later stays deleted.
        Transaction transaction(*this);
        for (const char* table : kWeekTables) {
            if (tableExists(db, table)) continue;
            const std::string name(table);
            exec(("create table " + name +
                  " (ID integer primary key, MondayCon blob, TuesdayCon blob, WednesdayCon blob,"
                  " ThursdayCon blob, FridayCon blob, SaturdayCon blob)")
                     .c_str());
            exec(("insert into " + name + " (ID) values (1)").c_str());
        }
        exec("create table if not exists UserCon (conIndex text not null unique, data blob)");
        transaction.commit();
    } catch (...) {
        // Not a database, or damaged: leave the file untouched and try
        // again on the next use.
        close();
        throw;
    }
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
