#include "NoteEditing.h"

#include "AtomicFile.h"
#include "Gb18030.h"
#include "NoteText.h"
#include "NotesError.h"
#include "Rtf.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <algorithm>
#include <functional>

namespace tavlo::notes {

namespace {

// An upper bound of the longest paragraph's length in characters, read from
// the stored bytes: the most bytes between two paragraph ends (every
// character takes a byte at least).
qsizetype longestParagraphBound(const QByteArray& bytes) {
    const bool rtf = bytes.startsWith("{\\rtf");
    qsizetype longest = 0, start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        bool end = false;
        if (!rtf) {
            end = bytes[i] == '\n' || bytes[i] == '\r';
        } else if (bytes[i] == '\\' && bytes.mid(i + 1, 3) == "par") {
            const char next = i + 4 < bytes.size() ? bytes[i + 4] : ' ';
            end = !((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z'));  // not \pard
        }
        if (!end) continue;
        longest = std::max(longest, i - start);
        start = i + 1;
    }
    return std::max(longest, bytes.size() - start);
}

qsizetype longestParagraph(const QTextDocument& document) {
    qsizetype longest = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        longest = std::max<qsizetype>(longest, block.length());
    return longest;
}

// Replaces the document's content as a load does: nothing to undo.
void replaceContent(QTextDocument& document, const std::function<void()>& fill) {
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    fill();
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
}

// The beginning of a text, its long lines cut into short ones.
QString previewOf(const QString& text) {
    QString preview;
    qsizetype line = 0;
    for (const QChar c : QStringView(text).left(kPreviewChars)) {
        const bool lineEnd = c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
        if (!lineEnd && line == kPreviewLineChars) {
            preview += u'\n';
            line = 0;
        }
        preview += c;
        line = lineEnd ? 0 : line + 1;
    }
    return preview;
}

}  // namespace

std::optional<qsizetype> loadNoteOrPreview(const QByteArray& bytes, QTextDocument& document) {
    if (bytes.size() <= kEditableNoteBytes) {
        if (longestParagraphBound(bytes) <= kEditableParagraphChars) {
            rtf::loadNoteText(bytes, document);
            return std::nullopt;
        }
        // Read apart from the editor, whose layout would follow every step.
        QTextDocument apart;
        rtf::loadNoteText(bytes, apart);
        if (longestParagraph(apart) <= kEditableParagraphChars) {
            replaceContent(document, [&] {
                document.clear();
                QTextCursor(&document).insertFragment(QTextDocumentFragment(&apart));
            });
            return std::nullopt;
        }
        replaceContent(document, [&] { document.setPlainText(previewOf(apart.toPlainText())); });
        return bytes.size();
    }
    replaceContent(document, [&] { document.setPlainText(previewOf(notePlainText(bytes, kPreviewSourceBytes))); });
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
    AtomicFile file(exportFileName(chosen).toStdString(), AtomicFile::Sync::Durable, AtomicFile::Links::Replace);
    file.write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    file.commit();
}

}  // namespace tavlo::notes
