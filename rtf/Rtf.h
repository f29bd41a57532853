#pragma once
#include <QByteArray>
#include <QString>

class QTextDocument;

// Rich Text Format for the notes: what the rich-text editors save and load.
// Needs Qt Gui only; no widgets and no application object.
namespace tavlo::rtf {

// The document as Rich Text Format: fonts, sizes, bold, italic, underline, strike-out,
// text colour, paragraphs and line breaks; non-ASCII as \uN with \ucN fall-back bytes.
QByteArray writeRtf(const QTextDocument& document);

// Replaces the document's content with the RTF in `bytes`; false (document untouched) when the
// bytes are not valid RTF.
bool readRtf(const QByteArray& bytes, QTextDocument& document);

// What the notes do on load: RTF when it is valid RTF, otherwise the bytes as plain text
// (UTF-8 when valid, else GB18030).
void loadNoteText(const QByteArray& bytes, QTextDocument& document);

// Plain text of a stored note (RTF or plain), line breaks kept.
QString noteToPlainText(const QByteArray& bytes);

}  // namespace tavlo::rtf
