#pragma once
#include "UserFacingError.h"

#include <QLoggingCategory>

#include <string>

struct sqlite3;

Q_DECLARE_LOGGING_CATEGORY(lcNotes)

namespace tavlo::notes {

// A failure of the notes database: it cannot be opened, is not a database,
// or a statement failed. what() is the cause in the user's words (Chinese,
// whatever the locale); detail() is what SQLite or the code said, for the
// log.
class NotesError : public UserFacingError {
public:
    explicit NotesError(const std::string& cause, std::string detail = {});
    const std::string& detail() const { return detail_; }

private:
    std::string detail_;
};

// Causes the notes name on their own.
inline constexpr const char* kNoDatabase = "没有找到记事数据库";
inline constexpr const char* kNotNotesDatabase = "这个文件是数据库，但不是记事数据库（没有记事表）";
inline constexpr const char* kDatabaseUnavailable = "记事数据库不可用";
inline constexpr const char* kDatabaseMisused = "记事数据库操作出错";
inline constexpr const char* kNotPrivateFolder = "文件夹不是用户自己的，或其他用户也能进入";

// The cause of a failed SQLite call in the user's words, from its result
// code (and, for file errors, the system's error number).
std::string describeSqliteError(sqlite3* db, int resultCode);

// Throws the failure of a SQLite call on `db`; `what` says what was being
// done, for the log.
[[noreturn]] void throwSqliteError(sqlite3* db, int resultCode, const std::string& what);

// Writes the failure's detail to the notes log.
void logFailure(const NotesError& error);

}  // namespace tavlo::notes
