#include "NoteText.h"

#include "Rtf.h"

namespace tavlo::notes {

namespace {

bool isRtf(const QByteArray& bytes) {
    return bytes.startsWith("{\\rtf");
}

// Where a cut may fall in RTF: after a group brace or white space, so that no
// control word or escape is split.
qsizetype rtfCutPoint(const QByteArray& bytes, qsizetype limit) {
    for (qsizetype at = limit; at > 0 && at > limit - 256; --at) {
        const char c = bytes[at - 1];
        if (c == '}' || c == '{' || c == ' ' || c == '\n' || c == '\r') return at;
    }
    return limit;
}

// Opens minus closes of the groups in the RTF, escapes (\{ \} \\) skipped.
int openGroups(const QByteArray& rtf) {
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '\\')
            ++i;
        else if (c == '{')
            ++depth;
        else if (c == '}' && depth > 0)
            --depth;
    }
    return depth;
}

// Before a UTF-8 continuation byte, so that a character is not split.
qsizetype textCutPoint(const QByteArray& bytes, qsizetype limit) {
    qsizetype at = limit;
    while (at > 0 && at > limit - 4 && (static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80) --at;
    return at;
}

}  // namespace

QByteArray notePrefix(const QByteArray& bytes, qsizetype limit) {
    if (bytes.size() <= limit) return bytes;
    if (!isRtf(bytes)) return bytes.left(textCutPoint(bytes, limit));
    QByteArray prefix = bytes.left(rtfCutPoint(bytes, limit));
    prefix.append(QByteArray(openGroups(prefix), '}'));
    return prefix;
}

QString notePlainText(const QByteArray& bytes, qsizetype limit) {
    return rtf::noteToPlainText(notePrefix(bytes, limit));
}

bool hasVisibleText(const QString& text) {
    for (const QChar c : text)
        if (!c.isSpace()) return true;
    return false;
}

}  // namespace tavlo::notes
