#include "NoteRecovery.h"

#include "FileError.h"
#include "NoteBackup.h"
#include "NotesError.h"
#include "PrivateFile.h"
#include "ProgramFolder.h"
#include "uDM.h"

#include <QCryptographicHash>
#include <QStandardPaths>

namespace tavlo::notes {

namespace {

const QByteArray kHeader = "TAVLO-NOTES-RECOVERY 1\n";

QByteArray serialise(const UnsavedNotes& notes) {
    QByteArray bytes;
    for (const UnsavedNotes::Day& day : notes.days)
        bytes +=
            "day " + dayKey(day.date).toLatin1() + ' ' + QByteArray::number(day.text.size()) + '\n' + day.text + '\n';
    for (const UnsavedNotes::Week& week : notes.weeks) {
        QByteArray line = "week " + QByteArray::number(week.page), texts;
        for (const auto& column : week.columns) {
            line += ' ' + QByteArray::number(column ? column->size() : -1);
            if (column) texts += *column;
        }
        bytes += line + '\n' + texts + '\n';
    }
    return bytes;
}

// Reads records from `bytes` at `at`; each ends in a line end of its own, so
// that one cut short is seen and left out.
class RecordReader {
public:
    explicit RecordReader(const QByteArray& bytes) : bytes_(bytes), at_(kHeader.size()) {}

    bool atEnd() const { return at_ >= bytes_.size(); }

    // The record's fields; none when the line is cut short.
    QList<QByteArray> fields() {
        const qsizetype end = bytes_.indexOf('\n', at_);
        if (end < 0) return {};
        const QList<QByteArray> fields = bytes_.mid(at_, end - at_).split(' ');
        at_ = end + 1;
        return fields;
    }
    std::optional<QByteArray> take(const QByteArray& sizeField) {
        bool number = false;
        const qsizetype size = sizeField.toLongLong(&number);
        if (!number || size < 0 || size > bytes_.size() - at_) return std::nullopt;
        at_ += size;
        return bytes_.mid(at_ - size, size);
    }
    bool endOfRecord() {
        if (atEnd() || bytes_[at_] != '\n') return false;
        ++at_;
        return true;
    }

private:
    const QByteArray& bytes_;
    qsizetype at_;
};

std::optional<UnsavedNotes::Day> readDay(RecordReader& reader, const QList<QByteArray>& fields) {
    UnsavedNotes::Day day{dateOfKey(QString::fromLatin1(fields[1])), {}};
    std::optional<QByteArray> text = reader.take(fields[2]);
    if (!day.date.isValid() || !text) return std::nullopt;
    day.text = std::move(*text);
    return day;
}

std::optional<UnsavedNotes::Week> readWeek(RecordReader& reader, const QList<QByteArray>& fields) {
    UnsavedNotes::Week week{fields[1].toInt(), {}};
    if (weekTable(week.page).isEmpty()) return std::nullopt;
    for (int i = 0; i < kWeekEditors; ++i) {
        if (fields[2 + i] == "-1") continue;
        week.columns[i] = reader.take(fields[2 + i]);
        if (!week.columns[i]) return std::nullopt;
    }
    return week;
}

// Reads the records of one file into `notes`, up to the first that is cut
// short or damaged.
void parse(const QByteArray& bytes, UnsavedNotes& notes) {
    if (!bytes.startsWith(kHeader)) return;
    RecordReader reader(bytes);
    while (!reader.atEnd()) {
        const QList<QByteArray> fields = reader.fields();
        if (fields.size() == 3 && fields[0] == "day") {
            std::optional<UnsavedNotes::Day> day = readDay(reader, fields);
            if (!day || !reader.endOfRecord()) return;
            notes.days.push_back(std::move(*day));
        } else if (fields.size() == 2 + kWeekEditors && fields[0] == "week") {
            std::optional<UnsavedNotes::Week> week = readWeek(reader, fields);
            if (!week || !reader.endOfRecord()) return;
            notes.weeks.push_back(std::move(*week));
        } else {
            return;
        }
    }
}

// By the path's own bytes: a program folder's name need not be UTF-8.
QByteArray readIfOwn(const std::filesystem::path& file) {
    return QByteArray::fromStdString(readOwnFile(file).value_or(std::string()));
}

void writeRecords(const std::filesystem::path& file, const QByteArray& records, bool privateFolder) {
    if (privateFolder) {
        if (!usePrivateFolder(file.parent_path())) throw FileError(kWriteFileAction, file, kNotPrivateFolder);
    } else {
        std::error_code ignored;
        std::filesystem::create_directories(file.parent_path(), ignored);
    }
    QByteArray bytes = readIfOwn(file);
    if (!bytes.startsWith(kHeader)) bytes = kHeader;
    bytes += records;
    writePrivateFile(file, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace

RecoveryFiles recoveryFiles(const ProgramFolder& folder) {
    const QByteArray root = QByteArray::fromStdString(folder.root().string());
    const QByteArray tag = QCryptographicHash::hash(root, QCryptographicHash::Sha1).toHex().left(12);
    const std::filesystem::path data(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdU16String());
    return {folder.path("Data\\NotesRecovery.dat"),
            data / "tavlo-recovery" / ("NotesRecovery-" + tag.toStdString() + ".dat")};
}

std::filesystem::path keepUnsavedNotes(const RecoveryFiles& files, const UnsavedNotes& notes) {
    const QByteArray records = serialise(notes);
    try {
        writeRecords(files.inProgramFolder, records, false);
        return files.inProgramFolder;
    } catch (const FileError& error) {
        qCDebug(lcNotes) << "recovery file in the program folder:" << error.what();
    }
    writeRecords(files.inPrivateFolder, records, true);
    return files.inPrivateFolder;
}

UnsavedNotes readUnsavedNotes(const RecoveryFiles& files) {
    UnsavedNotes notes;
    parse(readIfOwn(files.inPrivateFolder), notes);
    parse(readIfOwn(files.inProgramFolder), notes);
    return notes;
}

std::filesystem::path writeBackUnsavedNotes(TDM& dm, const UnsavedNotes& notes, const std::filesystem::path& keepFolder,
                                            const QDateTime& now) {
    std::error_code error;
    std::filesystem::create_directories(keepFolder, error);
    const std::filesystem::path kept = unusedBackupName(keepFolder, "Notes-before-recovery-", now);
    backupDatabase(dm.AdoCon, kept);
    for (const UnsavedNotes::Week& week : notes.weeks) {
        WeekColumnsToWrite columns;
        for (int i = 0; i < kWeekEditors; ++i)
            if (week.columns[i]) columns[i] = NoteToWrite{*week.columns[i], std::nullopt};
        writeWeekColumns(dm, week.page, columns);
    }
    for (const UnsavedNotes::Day& day : notes.days) writeDayNote(dm, day.date, day.text);
    return kept;
}

void removeRecoveryFiles(const RecoveryFiles& files) {
    std::error_code ignored;
    std::filesystem::remove(files.inProgramFolder, ignored);
    std::filesystem::remove(files.inPrivateFolder, ignored);
}

}  // namespace tavlo::notes
