#include "NoteEditing.h"

#include "AtomicFile.h"
#include "Gb18030.h"
#include "NoteText.h"
#include "NotesError.h"
#include "Rtf.h"

#include <QTextDocument>

namespace tavlo::notes {

std::optional<qsizetype> loadNoteOrPreview(const QByteArray& bytes, QTextDocument& document) {
    if (bytes.size() <= kEditableNoteBytes) {
        rtf::loadNoteText(bytes, document);
        return std::nullopt;
    }
    document.setPlainText(notePlainText(bytes, kPreviewSourceBytes).left(kPreviewChars));
    return bytes.size();
}

TDM& NoteEditing::dm() {
    if (!dm_) throw NotesError(kDatabaseUnavailable, "no data module");
    return *dm_;
}

void NoteEditing::loadWeek(int page, const WeekDocuments& documents) {
    // Everything is read before any document changes: a failure leaves
    // the documents whole, and still those of the page they came from.
    const WeekTexts texts = readWeekPage(dm(), page);
    for (int i = 0; i < kWeekEditors; ++i) weekPreviews_[i] = loadNoteOrPreview(texts[i], *documents[i]);
    loadedWeek_ = page;
}

NoteEditing::Saved NoteEditing::saveWeek(int page, const WeekDocuments& documents) {
    if (weekTable(page).isEmpty()) return Saved::NothingWritten;
    if (loadedWeek_ == 0) return Saved::HeldBack;
    WeekColumnsToWrite columns;
    bool any = false;
    for (int i = 0; i < kWeekEditors; ++i) {
        if (weekPreviews_[i]) continue;
        columns[i] = NoteToWrite{rtf::writeRtf(*documents[i]), documents[i]->toPlainText()};
        any = true;
    }
    if (!any) return Saved::HeldBack;
    return writeWeekColumns(dm(), loadedWeek_, columns) ? Saved::Written : Saved::NothingWritten;
}

void NoteEditing::loadDay(const QDate& date, QTextDocument& document) {
    const std::optional<QByteArray> text = readDayNote(dm(), date);
    if (text) {
        dayPreview_ = loadNoteOrPreview(*text, document);
    } else {
        document.clear();
        dayPreview_.reset();
    }
    loadedDay_ = date;
}

NoteEditing::Saved NoteEditing::saveDay(const QTextDocument& document) {
    if (!loadedDay_ || dayPreview_) return Saved::HeldBack;
    writeDayNote(dm(), *loadedDay_, rtf::writeRtf(document), document.toPlainText());
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
