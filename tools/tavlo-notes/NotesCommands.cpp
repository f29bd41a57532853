#include "NotesCommands.h"

#include "FileError.h"
#include "MappedFile.h"
#include "NoteBackup.h"
#include "NoteEditing.h"
#include "NoteExportAll.h"
#include "NoteSearch.h"
#include "NoteStore.h"
#include "NotesError.h"
#include "Rtf.h"
#include "StandardOutput.h"
#include "ToolDescription.h"
#include "uDM.h"

#include <QDateTime>

#include <memory>
#include <optional>

namespace tavlo::notes_tool {

namespace {

QString shown(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// What reads the notes: opens the database read-only, so that it creates
// and changes nothing.
std::unique_ptr<TDM> readNotes(const ProgramFolder& folder) {
    return std::make_unique<TDM>(folder, nullptr, notes::Connection::Mode::ReadOnly);
}

void printText(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (!bytes.endsWith('\n')) bytes += '\n';
    tool::writeOut(bytes.toStdString());
}

void printLine(const QString& text) {
    tool::writeLine(text.toStdString());
}

QDate dateArgument(const QString& key) {
    const QDate date = notes::dateOfKey(key);
    if (!date.isValid()) throw tool::UsageError("不是日期（应为 YYYYMMDD）：" + key.toStdString());
    return date;
}

QString dayText(TDM& dm, const QString& key) {
    const std::optional<QByteArray> note = notes::readDayNote(dm, dateArgument(key));
    if (!note) throw tool::Failure("这一天没有记事：" + key.toStdString());
    return rtf::noteToPlainText(*note);
}

QString hitPlace(const notes::SearchHit& hit) {
    if (hit.date.isValid()) return notes::dayKey(hit.date);
    static const char* const weekdays[] = {"周一", "周二", "周三", "周四", "周五", "周六/日"};
    return QString(QChar(u'A' + hit.page - 1)) + QString::fromUtf8(weekdays[hit.column - 1]);
}

// A program folder: an existing folder with the program's settings folder
// or the program itself in it. Only there may a command create Notes.db.
void requireProgramFolder(const ProgramFolder& folder) {
    std::error_code error;
    const std::filesystem::path& root = folder.root();
    const bool isProgramFolder =
        !root.empty() && std::filesystem::is_directory(root, error) &&
        (std::filesystem::is_directory(root / "Data", error) || std::filesystem::exists(root / "tavlo", error) ||
         std::filesystem::exists(root / "tavlo.exe", error));
    if (!isProgramFolder) throw tool::Failure("“" + shown(root).toStdString() + "”不是程序文件夹");
}

}  // namespace

void textCommand(const std::filesystem::path& file) {
    const MappedFile in(file);
    const QByteArray bytes(reinterpret_cast<const char*>(in.bytes().data()), static_cast<qsizetype>(in.bytes().size()));
    in.checkUnchanged();
    printText(rtf::noteToPlainText(bytes));
}

void listCommand(const ProgramFolder& folder) {
    const auto dm = readNotes(folder);
    for (const QString& key : notes::dayNoteKeys(*dm)) printLine(key);
}

void showCommand(const ProgramFolder& folder, const QString& key) {
    const auto dm = readNotes(folder);
    printText(dayText(*dm, key));
}

void exportCommand(const ProgramFolder& folder, const QString& key, const QString& out) {
    const auto dm = readNotes(folder);
    notes::writeExport(out, dayText(*dm, key));
    printLine(notes::exportFileName(out));
}

void searchCommand(const ProgramFolder& folder, const QString& text) {
    if (text.trimmed().isEmpty()) throw tool::UsageError("要搜索的文字是空的");
    const auto dm = readNotes(folder);
    const std::vector<notes::SearchHit> hits = notes::searchNotes(dm->AdoCon, text);
    if (hits.empty()) throw tool::Failure("没有找到包含“" + text.toStdString() + "”的记事");
    for (const notes::SearchHit& hit : hits) printLine(hitPlace(hit) + u'\t' + hit.line);
}

void backupCommand(const ProgramFolder& folder, const std::filesystem::path& target) {
    const auto dm = readNotes(folder);
    notes::backupDatabase(dm->AdoCon, target);
}

void restoreCommand(const ProgramFolder& folder, const std::filesystem::path& backup) {
    requireProgramFolder(folder);
    const std::filesystem::path database = folder.path(TDM::kDatabaseName);
    const std::optional<std::filesystem::path> kept =
        notes::restoreDatabase(database, backup, notes::rotatingBackupFolder(database), QDateTime::currentDateTime());
    if (kept) printLine(QStringLiteral("已恢复记事；被替换的记事数据库保存在“%1”").arg(shown(*kept)));
}

void exportAllCommand(const ProgramFolder& folder, const std::filesystem::path& target, const std::string& encoding) {
    const QString name = QString::fromStdString(encoding);
    notes::ExportEncoding chosen = notes::ExportEncoding::Utf8;
    if (name.compare(QLatin1String("gb18030"), Qt::CaseInsensitive) == 0)
        chosen = notes::ExportEncoding::Gb18030;
    else if (!name.isEmpty() && name.compare(QLatin1String("utf-8"), Qt::CaseInsensitive) != 0 &&
             name.compare(QLatin1String("utf8"), Qt::CaseInsensitive) != 0)
        throw tool::UsageError("不认识的编码（可用 utf-8 或 gb18030）：" + encoding);
    const auto dm = readNotes(folder);
    const notes::ExportCount count = notes::exportAllNotes(dm->AdoCon, target, chosen);
    printLine(QStringLiteral("已导出 %1 篇日记、%2 页周记到“%3”")
                  .arg(count.dayNotes)
                  .arg(count.weekPages)
                  .arg(shown(target)));
}

}  // namespace tavlo::notes_tool
