#include "NotesError.h"

#include "FileError.h"

#include <sqlite3.h>

// Off by default: its lines are for developers (QT_LOGGING_RULES="tavlo.notes.debug=true").
Q_LOGGING_CATEGORY(lcNotes, "tavlo.notes", QtInfoMsg)

namespace tavlo::notes {

NotesError::NotesError(const std::string& cause, std::string detail)
    : UserFacingError(cause), detail_(std::move(detail)) {}

namespace {

// The system's own error behind a file error, when SQLite kept one.
std::string systemCause(sqlite3* db, const char* otherwise) {
    const int errnoValue = db ? sqlite3_system_errno(db) : 0;
    return errnoValue != 0 ? describeSystemError(errnoValue) : otherwise;
}

}  // namespace

std::string describeSqliteError(sqlite3* db, int resultCode) {
    switch (resultCode & 0xff) {
    case SQLITE_NOTADB: return "文件不是数据库";
    case SQLITE_CORRUPT: return "数据库文件已损坏";
    case SQLITE_CANTOPEN: return systemCause(db, "无法打开数据库文件");
    case SQLITE_IOERR: return systemCause(db, "读写磁盘出错");
    case SQLITE_FULL: return "磁盘空间不足";
    case SQLITE_READONLY: return "数据库文件是只读的";
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return "数据库正被另一个程序使用";
    case SQLITE_PERM:
    case SQLITE_AUTH: return "没有权限";
    case SQLITE_NOMEM: return "内存不足";
    case SQLITE_TOOBIG: return "记事内容过大";
    case SQLITE_NOLFS: return "文件系统不支持大文件";
    case SQLITE_ERROR: return "数据库中的表与记事不符";
    default: return "数据库出错（代码 " + std::to_string(resultCode) + "）";
    }
}

void throwSqliteError(sqlite3* db, int resultCode, const std::string& what) {
    std::string detail = what + ": ";
    detail += db ? sqlite3_errmsg(db) : sqlite3_errstr(resultCode);
    throw NotesError(describeSqliteError(db, resultCode), std::move(detail));
}

void logFailure(const NotesError& error) {
    qCDebug(lcNotes) << error.what() << error.detail().c_str();
}

}  // namespace tavlo::notes
