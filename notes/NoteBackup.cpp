#include "NoteBackup.h"

#include "AtomicFile.h"
#include "BackupContents.h"
#include "Connection.h"
#include "FileError.h"
#include "MappedFile.h"
#include "NotesError.h"
#include "Sql.h"

#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace tavlo::notes {

namespace {

constexpr const char* kWriteBackup = "写入备份文件";
constexpr const char* kReadBackup = "读取备份文件";

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

Database openDatabase(const std::filesystem::path& file, int flags) {
    sqlite3* db = nullptr;
    const int result = sqlite3_open_v2(file.string().c_str(), &db, flags, nullptr);
    Database owned(db);
    if (result != SQLITE_OK) throwSqliteError(db, result, "opening " + file.string());
    sqlite3_busy_timeout(db, Connection::kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    return owned;
}

// Copies every page of `source` into `target` in one go; waits while another
// connection holds a lock.
void copyPages(sqlite3* source, sqlite3* target, const std::string& what) {
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
    if (!backup) throwSqliteError(target, sqlite3_errcode(target), what);
    int result = SQLITE_OK;
    for (int waited = 0; waited < Connection::kBusyTimeoutMs; waited += 50) {
        result = sqlite3_backup_step(backup, -1);
        if (result != SQLITE_BUSY && result != SQLITE_LOCKED) break;
        sqlite3_sleep(50);
    }
    sqlite3_backup_finish(backup);
    if (result != SQLITE_DONE) throwSqliteError(target, result, what);
}

std::filesystem::path besideTarget(const std::filesystem::path& target) {
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    return folder / (".tavlo-backup-" + std::to_string(getpid()) + "-" + target.filename().string());
}

// A backup replaces a file of its own kind only: never a device, a pipe, a
// folder or a link (renaming over a device node would take its place).
void checkBackupTarget(const std::filesystem::path& target) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(target, error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        throw FileError(kWriteBackup, target, describeNotRegularFile(status.type()));
}

void backupHandle(sqlite3* source, const std::filesystem::path& target) {
    checkBackupTarget(target);
    const std::filesystem::path partial = besideTarget(target);
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    try {
        {
            Database copy = openDatabase(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            copyPages(source, copy.get(), "backing up the notes into " + target.string());
        }
        std::error_code error;
        std::filesystem::rename(partial, target, error);
        if (error) throw FileError(kWriteBackup, target, error.value());
    } catch (const NotesError& error) {
        std::filesystem::remove(partial, ignored);
        logFailure(error);
        // The copy is what failed (the source was open already): name it.
        throw FileError(kWriteBackup, target, error.what());
    } catch (...) {
        std::filesystem::remove(partial, ignored);
        throw;
    }
}

// Replaces `target` by a byte copy of `source`, whole or not at all.
void copyFile(const std::filesystem::path& source, const std::filesystem::path& target) {
    const MappedFile in(source);
    AtomicFile out(target, AtomicFile::Sync::Durable);
    out.copyFrom(in, 0, in.bytes().size());
    in.checkUnchanged();
    out.commit();
}

// A database that SQLite can read (a header over junk fails here).
bool opensAsDatabase(sqlite3* db) {
    try {
        Sql(db, "select count(*) from sqlite_master").run();
        return true;
    } catch (const NotesError&) {
        return false;
    }
}

// The backup made fit to come in, beside the database; removed with its journal.
class StagedBackup {
public:
    StagedBackup(const std::filesystem::path& backup, const std::filesystem::path& database)
        : path_(besideTarget(database)) {
        std::error_code ignored;
        std::filesystem::create_directories(path_.parent_path(), ignored);  // a program folder without notes yet
        remove();
        try {
            stageBackup(backup, path_);
        } catch (const NotesError& error) {
            remove();
            logFailure(error);
            throw FileError(kReadBackup, backup, error.what());
        } catch (...) {
            remove();
            throw;
        }
    }
    ~StagedBackup() { remove(); }
    StagedBackup(const StagedBackup&) = delete;
    StagedBackup& operator=(const StagedBackup&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    void remove() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
        std::filesystem::remove(std::filesystem::path(path_.string() + "-journal"), ignored);
    }
    std::filesystem::path path_;
};

constexpr const char* kDailyPrefix = "Notes-";
constexpr const char* kDailySuffix = ".db";

std::optional<QDate> dailyBackupDate(const std::filesystem::path& file) {
    const QString name = QString::fromStdString(file.filename().string());
    if (!name.startsWith(QLatin1String(kDailyPrefix)) || !name.endsWith(QLatin1String(kDailySuffix))) return {};
    const QString digits = name.mid(6, name.size() - 9);
    if (digits.size() != 8) return {};
    const QDate date = QDate::fromString(digits, QStringLiteral("yyyyMMdd"));
    if (!date.isValid()) return {};
    return date;
}

std::filesystem::path dailyBackupName(const std::filesystem::path& folder, const QDate& date) {
    return folder / (kDailyPrefix + date.toString(QStringLiteral("yyyyMMdd")).toStdString() + kDailySuffix);
}

}  // namespace

std::filesystem::path unusedBackupName(const std::filesystem::path& folder, const std::string& prefix,
                                       const QDateTime& now) {
    const std::string stamp = prefix + now.toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
    std::error_code error;
    std::filesystem::path name = folder / (stamp + ".db");
    for (int n = 2; std::filesystem::symlink_status(name, error).type() != std::filesystem::file_type::not_found; ++n)
        name = folder / (stamp + "-" + std::to_string(n) + ".db");
    return name;
}

void backupDatabase(Connection& source, const std::filesystem::path& target) {
    backupHandle(source.handle(), target);
}

void checkBackup(const std::filesystem::path& backup) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(backup, error)) {
        if (std::filesystem::exists(backup, error))
            throw FileError(kReadBackup, backup, describeNotRegularFile(std::filesystem::status(backup, error).type()));
        throw FileError(kReadBackup, backup, ENOENT);
    }
    try {
        Database db = openDatabase(backup, SQLITE_OPEN_READONLY);
        Sql check(db.get(), "pragma integrity_check");
        if (!check.next() || check.text(0) != QLatin1String("ok"))
            throw NotesError("文件已损坏（完整性检查未通过）", "integrity_check of " + backup.string());
        checkNotesTables(db.get());
    } catch (const NotesError& error) {
        logFailure(error);
        throw FileError(kReadBackup, backup, error.what());
    }
}

std::optional<std::filesystem::path> restoreDatabase(const std::filesystem::path& database,
                                                     const std::filesystem::path& backup,
                                                     const std::filesystem::path& keepFolder, const QDateTime& now) {
    checkBackup(backup);
    const StagedBackup staged(backup, database);
    std::error_code error;
    if (!std::filesystem::exists(database, error)) {
        copyFile(staged.path(), database);
        return std::nullopt;
    }
    std::filesystem::create_directories(keepFolder, error);
    const std::filesystem::path kept = unusedBackupName(keepFolder, "Notes-before-restore-", now);
    Database current = openDatabase(database, SQLITE_OPEN_READWRITE);
    if (opensAsDatabase(current.get())) {
        backupHandle(current.get(), kept);
        Database source = openDatabase(staged.path(), SQLITE_OPEN_READONLY);
        copyPages(source.get(), current.get(), "restoring the notes from " + backup.string());
        return kept;
    }
    // Too damaged for SQLite: kept and replaced as files, with the journal
    // that belongs to the damaged file moved aside with it.
    current.reset();
    copyFile(database, kept);
    std::filesystem::path journal = database;
    journal += "-journal";
    if (std::filesystem::exists(journal, error)) {
        std::filesystem::path keptJournal = kept;
        keptJournal += "-journal";
        std::filesystem::rename(journal, keptJournal, error);
        if (error) throw FileError("移开日志文件", journal, error.value());
    }
    copyFile(staged.path(), database);
    return kept;
}

std::vector<QDate> backupsToKeep(std::vector<QDate> dates, const BackupRotation& rotation) {
    std::sort(dates.begin(), dates.end(), std::greater<>());
    std::vector<QDate> keep;
    std::set<std::pair<int, int>> weeks;
    for (const QDate& date : dates) {
        if (static_cast<int>(keep.size()) < rotation.days) {
            keep.push_back(date);
            continue;
        }
        int year = 0;
        const int week = date.weekNumber(&year);
        if (static_cast<int>(weeks.size()) >= rotation.weeks || !weeks.insert({year, week}).second) continue;
        keep.push_back(date);
    }
    return keep;
}

std::filesystem::path rotatingBackupFolder(const std::filesystem::path& database) {
    return database.parent_path() / "Backup";
}

std::optional<std::filesystem::path> makeDailyBackup(Connection& source, const std::filesystem::path& folder,
                                                     const QDate& today, const BackupRotation& rotation) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::map<QDate, std::filesystem::path> backups;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (const auto date = dailyBackupDate(entry.path()); date && entry.is_regular_file(error))
            backups[*date] = entry.path();
    if (error) throw FileError("读取备份文件夹", folder, error.value());
    std::optional<std::filesystem::path> made;
    if (!backups.contains(today)) {
        made = dailyBackupName(folder, today);
        backupDatabase(source, *made);
        backups[today] = *made;
    }
    std::vector<QDate> dates;
    for (const auto& [date, path] : backups) dates.push_back(date);
    const std::vector<QDate> keep = backupsToKeep(dates, rotation);
    for (const auto& [date, path] : backups)
        if (date != today && std::find(keep.begin(), keep.end(), date) == keep.end())
            std::filesystem::remove(path, error);
    return made;
}

}  // namespace tavlo::notes
