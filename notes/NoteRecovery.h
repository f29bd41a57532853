#pragma once
#include "NoteStore.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>

#include <filesystem>
#include <optional>
#include <vector>

namespace tavlo {
class ProgramFolder;
class TDM;
}  // namespace tavlo

namespace tavlo::notes {

// What the editors held when the program had to end without being able to
// save it (a full disk at logout): kept in a recovery file and offered back
// at the next start.
struct UnsavedNotes {
    struct Day {
        QDate date;
        QByteArray text;
    };
    struct Week {
        int page = 0;
        std::array<std::optional<QByteArray>, kWeekEditors> columns;  // the columns to write
    };
    std::vector<Day> days;
    std::vector<Week> weeks;

    bool empty() const { return days.empty() && weeks.empty(); }
};

// The recovery file in the program folder, and the one in a folder of the
// user's that only they can enter (never a shared temporary folder, where
// others could plant a file or a link under its name) for when the program
// folder cannot be written; named after the program folder, so that two
// program folders keep theirs apart. Both are the user's only (0600), and a
// file there that is not the user's own, or not a regular file, is ignored.
struct RecoveryFiles {
    std::filesystem::path inProgramFolder;
    std::filesystem::path inPrivateFolder;
};
RecoveryFiles recoveryFiles(const ProgramFolder& folder);

// Adds the notes to the recovery file of the program folder, or of the
// private folder when that cannot be written; the file written. Throws
// (FileError) when neither can be.
std::filesystem::path keepUnsavedNotes(const RecoveryFiles& files, const UnsavedNotes& notes);

// What both recovery files hold, oldest first. Records that cannot be read
// (a file cut short) are left out.
UnsavedNotes readUnsavedNotes(const RecoveryFiles& files);

// Writes recovered notes back, in order (a later text of the same note over
// an earlier one), after a backup of the notes they replace into
// `keepFolder` (created when missing; a name with the time `now`), which is
// returned. Throws NotesError or FileError; nothing is written when the
// backup fails.
std::filesystem::path writeBackUnsavedNotes(TDM& dm, const UnsavedNotes& notes, const std::filesystem::path& keepFolder,
                                            const QDateTime& now);

// Removes both recovery files.
void removeRecoveryFiles(const RecoveryFiles& files);

}  // namespace tavlo::notes
