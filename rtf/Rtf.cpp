#include "Rtf.h"

#include "CodePage.h"
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QHash>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

namespace tavlo::rtf {

size_t qHash(const RunFormat& f, size_t seed = 0) {
    return qHashMulti(seed, f.family, f.halfPoints, f.bold, f.italic, f.underline, f.strike, f.color.has_value(),
                      f.color.value_or(0));
}

namespace {

RunFormat runFormatOf(const QTextCharFormat& f) {
    RunFormat format;
    format.family = f.property(QTextFormat::FontFamilies).toStringList().value(0);
    if (f.hasProperty(QTextFormat::FontPointSize))
        format.halfPoints = static_cast<int>(std::lround(f.fontPointSize() * 2));
    else if (f.hasProperty(QTextFormat::FontPixelSize))
        format.halfPoints = static_cast<int>(std::lround(f.intProperty(QTextFormat::FontPixelSize) * 1.5));  // 96 dpi
    format.bold = f.fontWeight() >= QFont::DemiBold;
    format.italic = f.fontItalic();
    const auto underline = f.underlineStyle();
    format.underline = underline != QTextCharFormat::NoUnderline && underline != QTextCharFormat::SpellCheckUnderline;
    format.strike = f.fontStrikeOut();
    if (f.foreground().style() != Qt::NoBrush) format.color = f.foreground().color().rgb();
    return format;
}

QTextCharFormat charFormatOf(const RunFormat& format) {
    QTextCharFormat f;
    if (!format.family.isEmpty()) f.setFontFamilies({format.family});
    if (format.halfPoints > 0) f.setFontPointSize(format.halfPoints / 2.0);
    if (format.bold) f.setFontWeight(QFont::Bold);
    if (format.italic) f.setFontItalic(true);
    if (format.underline) f.setFontUnderline(true);
    if (format.strike) f.setFontStrikeOut(true);
    if (format.color) f.setForeground(QColor(*format.color));
    return f;
}

RtfText textOf(const QTextDocument& document) {
    RtfText text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        Paragraph& paragraph = text.emplace_back();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            RunFormat format = runFormatOf(fragment.charFormat());
            if (!paragraph.runs.empty() && paragraph.runs.back().format == format)
                paragraph.runs.back().text += fragment.text();
            else
                paragraph.runs.push_back(Run{fragment.text(), std::move(format)});
        }
    }
    return text;
}

// Character formats by run format: the document finds a format it already
// holds faster by the same object, and a hash keeps a note with thousands of
// formats from loading in quadratic time.
class CharFormats {
public:
    const QTextCharFormat& operator[](const RunFormat& format) {
        auto it = formats_.find(format);
        if (it == formats_.end()) it = formats_.insert(format, charFormatOf(format));
        return *it;
    }

private:
    QHash<RunFormat, QTextCharFormat> formats_;
};

// Loading a note is not an edit: no undo step, and the document is unmodified.
void fill(QTextDocument& document, const RtfText& text) {
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    CharFormats formats;
    bool first = true;
    for (const Paragraph& paragraph : text) {
        const QTextCharFormat& start =
            paragraph.runs.empty() ? formats[RunFormat()] : formats[paragraph.runs.front().format];
        if (first)
            cursor.setBlockCharFormat(start);
        else
            cursor.insertBlock(QTextBlockFormat(), start);
        first = false;
        for (const Run& run : paragraph.runs) cursor.insertText(run.text, formats[run.format]);
    }
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
}

// Plain text as the notes stored it before: UTF-8 when it is valid UTF-8,
// otherwise the Chinese ANSI code page; line ends of any kind.
QString plainTextFromBytes(const QByteArray& bytes) {
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) view = view.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(view);
    if (utf8.hasError()) text = decodeCodePage(kCodePageGbk, view);
    text.replace(u"\r\n"_qs, u"\n"_qs);
    text.replace(u'\r', u'\n');
    text.remove(QChar(0));
    text.replace(QChar(0xFDD0), QChar::ReplacementCharacter);
    text.replace(QChar(0xFDD1), QChar::ReplacementCharacter);
    return text;
}

}  // namespace

QString documentSafe(QStringView text) {
    QString safe;
    safe.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case 0: break;
        case u'\r':
        case u'\n':
        case QChar::ParagraphSeparator: safe += QChar::LineSeparator; break;
        case 0xFDD0:
        case 0xFDD1: safe += QChar::ReplacementCharacter; break;
        default: safe += c;
        }
    }
    return safe;
}

QString plainTextOf(const RtfText& text) {
    QString plain;
    for (const Paragraph& paragraph : text) {
        if (&paragraph != &text.front()) plain += u'\n';
        for (const Run& run : paragraph.runs) plain += run.text;
    }
    // The same characters as QTextDocument::toPlainText turns into plain ones.
    for (QChar& c : plain) {
        if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u'\n';
        else if (c == QChar::Nbsp)
            c = u' ';
    }
    return plain;
}

QByteArray writeRtf(const QTextDocument& document) {
    return writeRtfText(textOf(document), document.defaultFont().family());
}

bool readRtf(const QByteArray& bytes, QTextDocument& document) {
    const std::optional<RtfText> text = parseRtf(bytes);
    if (!text) return false;
    fill(document, *text);
    return true;
}

void loadNoteText(const QByteArray& bytes, QTextDocument& document) {
    if (readRtf(bytes, document)) return;
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.setPlainText(plainTextFromBytes(bytes));
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
}

QString noteToPlainText(const QByteArray& bytes) {
    const std::optional<RtfText> text = parseRtf(bytes);
    if (text) return plainTextOf(*text);
    QString plain = plainTextFromBytes(bytes);
    plain.replace(QChar::Nbsp, u' ');
    plain.replace(QChar::LineSeparator, u'\n');
    plain.replace(QChar::ParagraphSeparator, u'\n');
    return plain;
}

}  // namespace tavlo::rtf
