#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows code pages as RTF names them (\ansicpgN, \cpgN, \fcharsetN), for
// Qt text. The conversions themselves are the platform layer's
// (CodePageText.h).
namespace tavlo::rtf {

// Code page 936 is read as GB18030: the same bytes for every GBK character.
constexpr int kCodePageGbk = 936;
constexpr int kCodePageAnsi = 1252;

// Bytes in `codePage` as text; a byte sequence that is not valid there becomes
// U+FFFD (one per bad byte). A code page this system cannot convert (an
// unknown number) is read as Windows-1252.
QString decodeCodePage(int codePage, QByteArrayView bytes);

// Text in `codePage`; empty and `ok` false when a character has no bytes there.
QByteArray encodeCodePage(int codePage, QStringView text, bool& ok);

// The code page of a font's \fcharsetN; `documentCodePage` for the default
// character set (1) and for sets that name no code page.
int codePageOfCharset(int charset, int documentCodePage);

}  // namespace tavlo::rtf
