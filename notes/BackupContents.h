#pragma once
#include <filesystem>

struct sqlite3;

// What a backup brings into the notes database, checked before it comes in:
// the notes tables as the program reads and writes them, and nothing that
// would run on its own afterwards.
namespace tavlo::notes {

// Refuses (NotesError, the cause in Chinese) a database whose notes tables
// are missing, virtual, or have other columns or column types than the
// program's.
void checkNotesTables(sqlite3* db);

// Makes `staged` a copy of `backup` that holds only what the program trusts:
// every trigger and view dropped (the program's own are made again) and the
// search index made anew from the notes, so that a damaged or planted index
// never comes in. Throws NotesError or FileError.
void stageBackup(const std::filesystem::path& backup, const std::filesystem::path& staged);

}  // namespace tavlo::notes
