#include "NoteExportAll.h"

#include "AtomicFile.h"
#include "Connection.h"
#include "FileError.h"
#include "NoteEditing.h"
#include "NoteStore.h"
#include "NoteText.h"
#include "Rtf.h"
#include "Sql.h"

#include <QTextDocument>

namespace tavlo::notes {

namespace {

const std::array<QString, kWeekEditors> kWeekdayNames = {QStringLiteral("周一"), QStringLiteral("周二"),
                                                         QStringLiteral("周三"), QStringLiteral("周四"),
                                                         QStringLiteral("周五"), QStringLiteral("周六/日")};

std::filesystem::path fileName(const QString& name) {
    return std::filesystem::path(name.toStdU16String());
}

void writeFile(const std::filesystem::path& file, const QByteArray& bytes) {
    AtomicFile out(file, AtomicFile::Sync::Fast, AtomicFile::Links::Replace);
    out.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    out.commit();
}

QByteArray textBytes(const QString& text, ExportEncoding encoding) {
    if (encoding == ExportEncoding::Gb18030) return exportBytes(text);
    QByteArray bytes = text.toUtf8();
    if (!bytes.endsWith('\n')) bytes += '\n';
    return bytes;
}

QString dayTitle(const QDate& date) {
    static const QString weekdays = QStringLiteral("一二三四五六日");
    return QStringLiteral("%1年%2月%3日（%4）")
        .arg(date.year())
        .arg(date.month())
        .arg(date.day())
        .arg(weekdays[date.dayOfWeek() - 1]);
}

// The HTML of a note's body, its own styles kept, for placing in a page.
QString bodyHtml(const QTextDocument& document) {
    const QString html = document.toHtml();
    const qsizetype bodyTag = html.indexOf(QLatin1String("<body"));
    const qsizetype start = html.indexOf(u'>', bodyTag) + 1;
    const qsizetype end = html.lastIndexOf(QLatin1String("</body>"));
    if (bodyTag < 0 || start <= 0 || end < start) return document.toPlainText().toHtmlEscaped();
    const QString bodyAttributes = html.mid(bodyTag + 5, start - 1 - (bodyTag + 5));
    return QStringLiteral("<div%1>%2</div>").arg(bodyAttributes, html.mid(start, end - start));
}

// The one page with every note, written piece by piece.
class HtmlPage {
public:
    explicit HtmlPage(const std::filesystem::path& file)
        : out_(file, AtomicFile::Sync::Fast, AtomicFile::Links::Replace) {
        add(
            QStringLiteral("<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
                           "<title>全部记事</title>\n<style>\nbody { max-width: 60em; margin: 2em auto; }\n"
                           "section { border-bottom: 1px solid #c8d2e0; padding-bottom: 1em; }\n"
                           "h2 { font-size: 1.1em; color: #35507a; }\n</style>\n</head>\n<body>\n"
                           "<h1>全部记事</h1>\n"));
    }
    void section(const QString& title, const QString& body) {
        add(QStringLiteral("<section>\n<h2>%1</h2>\n%2\n</section>\n").arg(title.toHtmlEscaped(), body));
    }
    void finish() {
        add(QStringLiteral("</body>\n</html>\n"));
        out_.commit();
    }

private:
    void add(const QString& text) {
        const QByteArray bytes = text.toUtf8();
        out_.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    AtomicFile out_;
};

int exportDayNotes(sqlite3* db, const std::filesystem::path& folder, ExportEncoding encoding, HtmlPage& page) {
    int count = 0;
    Sql days(db, "select conIndex, data from UserCon order by conIndex");
    while (days.next()) {
        const QString key = days.text(0);
        const QDate date = dateOfKey(key);
        if (!date.isValid()) continue;
        QTextDocument document;
        rtf::loadNoteText(days.blob(1), document);
        const QString text = document.toPlainText();
        if (!hasVisibleText(text)) continue;
        writeFile(folder / fileName(key + QStringLiteral(".txt")), textBytes(text, encoding));
        page.section(dayTitle(date), bodyHtml(document));
        ++count;
    }
    return count;
}

bool exportWeekPage(Connection& connection, int page, const std::filesystem::path& folder, ExportEncoding encoding,
                    HtmlPage& html) {
    const std::optional<WeekTexts> texts = readWeekRow(connection, page);
    if (!texts) return false;
    QString text, body;
    bool any = false;
    for (int i = 0; i < kWeekEditors; ++i) {
        QTextDocument document;
        rtf::loadNoteText((*texts)[i], document);
        const QString column = document.toPlainText();
        any = any || hasVisibleText(column);
        text += kWeekdayNames[i] + u'\n' + column + QStringLiteral("\n\n");
        body += QStringLiteral("<h3>%1</h3>\n%2\n").arg(kWeekdayNames[i], bodyHtml(document));
    }
    if (!any) return false;
    const QString letter(QChar(u'A' + page - 1));
    writeFile(folder / fileName(QStringLiteral("周记%1.txt").arg(letter)), textBytes(text.trimmed(), encoding));
    html.section(QStringLiteral("周记 %1 页").arg(letter), body);
    return true;
}

}  // namespace

ExportCount exportAllNotes(Connection& connection, const std::filesystem::path& folder, ExportEncoding encoding) {
    sqlite3* db = connection.handle();  // no folder is made for notes that cannot be read
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) throw FileError("创建文件夹", folder, error.value());
    HtmlPage html(folder / fileName(kExportHtmlName));
    ExportCount count;
    count.dayNotes = exportDayNotes(db, folder, encoding, html);
    for (int page = 1; page <= 5; ++page)
        if (exportWeekPage(connection, page, folder, encoding, html)) ++count.weekPages;
    html.finish();
    return count;
}

}  // namespace tavlo::notes
