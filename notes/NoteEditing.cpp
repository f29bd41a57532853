#include "NoteEditing.h"

#include "AtomicFile.h"
#include "Gb18030.h"
#include "NotesError.h"
#include "Rtf.h"

#include <QTextDocument>

namespace tavlo::notes {

TDM& NoteEditing::dm() {
    if (!dm_) throw NotesError("the notes database is not available");
    return *dm_;
}

void NoteEditing::loadWeek(int page, const WeekDocuments& documents) {
    // Everything is read before any document changes: a failure leaves
    // the documents whole, and still those of the page they came from.
    const WeekTexts texts = readWeekPage(dm(), page);
    for (int i = 0; i < kWeekEditors; ++i) rtf::loadNoteText(texts[i], *documents[i]);
    loadedWeek_ = page;
}

NoteEditing::Saved NoteEditing::saveWeek(int page, const WeekDocuments& documents) {
    if (weekTable(page).isEmpty()) return Saved::NothingWritten;
    if (loadedWeek_ == 0) return Saved::HeldBack;
    WeekTexts texts;
    for (int i = 0; i < kWeekEditors; ++i) texts[i] = rtf::writeRtf(*documents[i]);
    return writeWeekPage(dm(), loadedWeek_, texts) ? Saved::Written : Saved::NothingWritten;
}

void NoteEditing::loadDay(const QDate& date, QTextDocument& document) {
    const std::optional<QByteArray> text = readDayNote(dm(), date);
    if (text)
        rtf::loadNoteText(*text, document);
    else
        document.clear();
    loadedDay_ = date;
}

NoteEditing::Saved NoteEditing::saveDay(const QTextDocument& document) {
    if (!loadedDay_) return Saved::HeldBack;
    writeDayNote(dm(), *loadedDay_, rtf::writeRtf(document));
    return Saved::Written;
}

QString dateStamp(const QDate& date) {
    static const QString weekdays = QStringLiteral("一二三四五六日");
    return QStringLiteral(" %1 (%2)").arg(date.toString(QStringLiteral("yyyy.MM.dd")), weekdays[date.dayOfWeek() - 1]);
}

QByteArray exportBytes(const QString& plainText) {
    QString text = plainText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(u'\n', QStringLiteral("\r\n"));
    text += QStringLiteral("\r\n");
    return QByteArray::fromStdString(utf8ToGb18030(text.toStdString()));
}

QString exportFileName(const QString& chosen) {
    return chosen + QStringLiteral(".txt");
}

QString exportProposedName(int notePage) {
    const QString letter = (notePage >= 1 && notePage <= 5) ? QString(QChar(u'A' + (notePage - 1))) : QString();
    return letter + QStringLiteral("备忘录");
}

void writeExport(const QString& chosen, const QString& plainText) {
    const QByteArray bytes = exportBytes(plainText);
    AtomicFile file(exportFileName(chosen).toStdString(), AtomicFile::Sync::Durable);
    file.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    file.commit();
}

}  // namespace tavlo::notes
