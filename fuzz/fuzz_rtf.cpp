// Any bytes either read as RTF or are refused without touching the document.
// What reads must write, read back and write again to the very same bytes,
// and the notes' plain text must be what the loaded editor shows.
#include "Rtf.h"

#include <QFont>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("宋体")));
    document.setPlainText(QStringLiteral("unchanged"));
    if (!tavlo::rtf::readRtf(bytes, document)) {
        if (document.toPlainText() != QStringLiteral("unchanged")) __builtin_trap();
    } else {
        const QByteArray written = tavlo::rtf::writeRtf(document);
        QTextDocument copy;
        copy.setDefaultFont(document.defaultFont());
        if (!tavlo::rtf::readRtf(written, copy)) __builtin_trap();
        if (copy.toPlainText() != document.toPlainText()) __builtin_trap();
        if (tavlo::rtf::writeRtf(copy) != written) __builtin_trap();
    }
    tavlo::rtf::loadNoteText(bytes, document);
    if (tavlo::rtf::noteToPlainText(bytes) != document.toPlainText()) __builtin_trap();
    return 0;
}
