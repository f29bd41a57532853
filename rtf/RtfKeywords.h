#pragma once
#include <QByteArrayView>

namespace tavlo::rtf {

// The control words the reader acts on; everything else is Unknown and ignored.
enum class Keyword {
    Unknown,
    SkipDestination,  // a group whose content shows no text of the note
    FontTable,
    ColorTable,
    Object,  // an embedded object: only its result shows
    ObjectResult,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    Font,
    FontCharset,
    FontCodePage,
    FontSize,
    Bold,
    Italic,
    AssociatedBold,
    AssociatedItalic,
    Underline,
    UnderlineNone,
    Strike,
    ColorIndex,
    Red,
    Green,
    Blue,
    Plain,
    Paragraph,
    Character,  // a word that stands for one character
    Unicode,
    UnicodeSkip,
    Bin,
};

struct KeywordInfo {
    Keyword keyword = Keyword::Unknown;
    char16_t character = 0;  // for Character
};

KeywordInfo lookupKeyword(QByteArrayView name);

}  // namespace tavlo::rtf
