#pragma once
#include <QDate>
#include <QDateTime>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavlo::notes {

class Connection;

// Copies the connection's database into `target` with SQLite's online
// backup, so that the copy is consistent while the program writes. The copy
// is made beside the target and renamed into place: the target is either
// as it was or the whole copy. The target's folder must exist, and a target
// that is there must be a regular file (never a link, a device or a pipe).
// Throws NotesError or FileError (causes in Chinese).
void backupDatabase(Connection& source, const std::filesystem::path& target);

// "PREFIX<yyyyMMdd-HHmmss>.db" in `folder`, with "-2", "-3" … added until no
// file has the name: two copies kept within a second both stay.
std::filesystem::path unusedBackupName(const std::filesystem::path& folder, const std::string& prefix,
                                       const QDateTime& now);

// Refuses a file that cannot be restored: not there, not a database,
// damaged (SQLite's integrity check), or without the notes tables as the
// program makes them (their columns and types; no virtual tables). Reads
// the file only.
void checkBackup(const std::filesystem::path& backup);

// Puts a backup in the place of the notes database `database`, after
// checkBackup (a refused backup leaves everything as it was). The database
// it replaces, if any, is kept first in `keepFolder` (created when missing)
// under a name with the time `now` that no file has yet; that file is
// returned. What comes in is a copy of the backup without its triggers and
// views and with a search index made anew from its notes. While a copy of
// the program has the database open the backup is copied in through SQLite,
// which that copy sees at its next statement; a database too damaged to
// open is replaced as a file.
std::optional<std::filesystem::path> restoreDatabase(const std::filesystem::path& database,
                                                     const std::filesystem::path& backup,
                                                     const std::filesystem::path& keepFolder, const QDateTime& now);

// The rotating backups the program keeps: one per day it is used, the last
// seven such days and, before them, the newest of each of four weeks.
struct BackupRotation {
    int days = 7;
    int weeks = 4;
};

// The dates among `dates` (any order, no repeats) that the rotation keeps.
std::vector<QDate> backupsToKeep(std::vector<QDate> dates, const BackupRotation& rotation = {});

// The rotating backups' folder in the notes database's folder.
std::filesystem::path rotatingBackupFolder(const std::filesystem::path& database);

// Makes today's backup in `folder` (created when missing) unless there is
// one, then removes the dated backups the rotation no longer keeps. Files of
// other names are never touched. The backup made, if one was.
std::optional<std::filesystem::path> makeDailyBackup(Connection& source, const std::filesystem::path& folder,
                                                     const QDate& today, const BackupRotation& rotation = {});

}  // namespace tavlo::notes
