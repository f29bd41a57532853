// tavlo-notes: reads the notes the program keeps in its folder.
//
//   tavlo-notes [--folder DIR] text FILE            plain text of an RTF or plain note file
//   tavlo-notes [--folder DIR] list                 the dates (YYYYMMDD) that have day notes
//   tavlo-notes [--folder DIR] show YYYYMMDD        that day note's text
//   tavlo-notes [--folder DIR] export YYYYMMDD OUT  writes OUT.txt as the program's export does
//
// The folder is the program folder beside this executable unless given.
#include "NoteEditing.h"
#include "NoteStore.h"
#include "NotesError.h"
#include "ProgramFolder.h"
#include "Rtf.h"
#include "uDM.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

using namespace tavlo;

namespace {

constexpr const char* kUsage =
    "usage: tavlo-notes [--folder DIR] text FILE | list | show YYYYMMDD | export YYYYMMDD OUT\n";

int fail(const std::string& message) {
    std::fprintf(stderr, "tavlo-notes: %s\n", message.c_str());
    return 1;
}

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

void printText(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (!bytes.endsWith('\n')) bytes += '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

int textCommand(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return fail("cannot read " + file.toStdString() + ": " + in.errorString().toStdString());
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return fail("cannot read " + file.toStdString() + ": " + in.errorString().toStdString());
    printText(rtf::noteToPlainText(bytes));
    return 0;
}

// The day note's plain text; nothing when that day has none.
std::optional<QString> dayText(TDM& dm, const QDate& date) {
    const std::optional<QByteArray> note = notes::readDayNote(dm, date);
    if (!note) return std::nullopt;
    return rtf::noteToPlainText(*note);
}

int run(const ProgramFolder& folder, const std::vector<QString>& args) {
    const QString& command = args[0];
    if (command == "text" && args.size() == 2) return textCommand(args[1]);
    TDM dm(folder);
    if (command == "list" && args.size() == 1) {
        for (const QString& key : notes::dayNoteKeys(dm)) std::printf("%s\n", key.toUtf8().constData());
        return 0;
    }
    if ((command == "show" && args.size() == 2) || (command == "export" && args.size() == 3)) {
        const QDate date = notes::dateOfKey(args[1]);
        if (!date.isValid()) return fail("not a date (YYYYMMDD): " + args[1].toStdString());
        const std::optional<QString> text = dayText(dm, date);
        if (!text) return fail("no note on " + args[1].toStdString());
        if (command == "show") {
            printText(*text);
            return 0;
        }
        notes::writeExport(args[2], *text);
        std::printf("%s\n", notes::exportFileName(args[2]).toUtf8().constData());
        return 0;
    }
    return usage();
}

}  // namespace

int main(int argc, char** argv) {
    // Documents need the GUI application object, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    std::vector<QString> args;
    for (int i = 1; i < argc; ++i) args.push_back(QString::fromLocal8Bit(argv[i]));
    std::optional<ProgramFolder> folder;
    if (args.size() >= 2 && args[0] == "--folder") {
        folder.emplace(args[1].toStdString());
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) return usage();
    try {
        return run(folder ? *folder : ProgramFolder::ofExecutable(), args);
    } catch (const notes::NotesError& e) {
        return fail(std::string("加载记事内容失败！ ") + e.what());
    } catch (const std::exception& e) {
        return fail(e.what());
    }
}
