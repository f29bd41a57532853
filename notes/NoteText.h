#pragma once
#include <QByteArray>
#include <QString>

// The plain text of stored notes, bounded: what search, month marks and the
// preview of a note too large to edit are made from.
namespace tavlo::notes {

// The bytes of a note that the search index reads (about a million
// characters of Chinese); a search reads longer notes whole.
inline constexpr qsizetype kIndexedNoteBytes = 4 * 1024 * 1024;

// The first `limit` bytes of a stored note as a note of their own: Rich Text
// Format cut there gets its open groups closed, plain text is cut before a
// character that would be split. A note within the limit comes back whole.
QByteArray notePrefix(const QByteArray& bytes, qsizetype limit);

// The plain text of a stored note (RTF or plain), read from its first
// `limit` bytes only.
QString notePlainText(const QByteArray& bytes, qsizetype limit = kIndexedNoteBytes);

// Whether a text holds anything but white space.
bool hasVisibleText(const QString& text);

}  // namespace tavlo::notes
