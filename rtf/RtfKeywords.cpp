#include "RtfKeywords.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_map>

namespace tavlo::rtf {

namespace {

struct Entry {
    std::string_view name;
    Keyword keyword;
    char16_t character = 0;
};

using K = Keyword;

// Sorted by name, so that a word is easy to find and never listed twice.
constexpr auto kKeywords = std::to_array<Entry>({
    {"ab", K::AssociatedBold},
    {"aftncn", K::SkipDestination},
    {"aftnsep", K::SkipDestination},
    {"aftnsepc", K::SkipDestination},
    {"ai", K::AssociatedItalic},
    {"annotation", K::SkipDestination},
    {"ansi", K::Ansi},
    {"ansicpg", K::AnsiCodePage},
    {"atnauthor", K::SkipDestination},
    {"atndate", K::SkipDestination},
    {"atnid", K::SkipDestination},
    {"atnref", K::SkipDestination},
    {"author", K::SkipDestination},
    {"b", K::Bold},
    {"bin", K::Bin},
    {"bkmkend", K::SkipDestination},
    {"bkmkstart", K::SkipDestination},
    {"blue", K::Blue},
    {"bullet", K::Character, 0x2022},
    {"cell", K::Character, u'\t'},
    {"cf", K::ColorIndex},
    {"colorschememapping", K::SkipDestination},
    {"colortbl", K::ColorTable},
    {"comment", K::SkipDestination},
    {"cpg", K::FontCodePage},
    {"datafield", K::SkipDestination},
    {"deff", K::DefaultFont},
    {"doccomm", K::SkipDestination},
    {"emdash", K::Character, 0x2014},
    {"emspace", K::Character, 0x2003},
    {"endash", K::Character, 0x2013},
    {"enspace", K::Character, 0x2002},
    {"f", K::Font},
    {"fcharset", K::FontCharset},
    {"filetbl", K::SkipDestination},
    {"fldinst", K::SkipDestination},
    {"fonttbl", K::FontTable},
    {"footer", K::SkipDestination},
    {"footerf", K::SkipDestination},
    {"footerl", K::SkipDestination},
    {"footerr", K::SkipDestination},
    {"footnote", K::SkipDestination},
    {"fs", K::FontSize},
    {"ftncn", K::SkipDestination},
    {"ftnsep", K::SkipDestination},
    {"ftnsepc", K::SkipDestination},
    {"generator", K::SkipDestination},
    {"green", K::Green},
    {"header", K::SkipDestination},
    {"headerf", K::SkipDestination},
    {"headerl", K::SkipDestination},
    {"headerr", K::SkipDestination},
    {"i", K::Italic},
    {"info", K::SkipDestination},
    {"keywords", K::SkipDestination},
    {"latentstyles", K::SkipDestination},
    {"ldblquote", K::Character, 0x201C},
    {"line", K::Character, 0x2028},  // QChar::LineSeparator
    {"listoverridetable", K::SkipDestination},
    {"listtable", K::SkipDestination},
    {"lquote", K::Character, 0x2018},
    {"mac", K::Mac},
    {"mmathPr", K::SkipDestination},
    {"nonshppict", K::SkipDestination},
    {"object", K::Object},
    {"operator", K::SkipDestination},
    {"page", K::Paragraph},
    {"par", K::Paragraph},
    {"pc", K::Pc},
    {"pca", K::Pca},
    {"pgdsctbl", K::SkipDestination},
    {"pict", K::SkipDestination},
    {"plain", K::Plain},
    {"pn", K::SkipDestination},
    {"pnseclvl", K::SkipDestination},
    {"rdblquote", K::Character, 0x201D},
    {"red", K::Red},
    {"result", K::ObjectResult},
    {"revtbl", K::SkipDestination},
    {"row", K::Paragraph},
    {"rquote", K::Character, 0x2019},
    {"rsidtbl", K::SkipDestination},
    {"sect", K::Paragraph},
    {"shp", K::SkipDestination},
    {"shpinst", K::SkipDestination},
    {"strike", K::Strike},
    {"striked", K::Strike},
    {"stylesheet", K::SkipDestination},
    {"subject", K::SkipDestination},
    {"tab", K::Character, u'\t'},
    {"tc", K::SkipDestination},
    {"template", K::SkipDestination},
    {"themedata", K::SkipDestination},
    {"title", K::SkipDestination},
    {"txe", K::SkipDestination},
    {"u", K::Unicode},
    {"uc", K::UnicodeSkip},
    {"ul", K::Underline},
    {"uld", K::Underline},
    {"uldash", K::Underline},
    {"uldashd", K::Underline},
    {"uldashdd", K::Underline},
    {"uldb", K::Underline},
    {"ulhwave", K::Underline},
    {"ulldash", K::Underline},
    {"ulnone", K::UnderlineNone},
    {"ulth", K::Underline},
    {"ulthd", K::Underline},
    {"ulthdash", K::Underline},
    {"ulthdashd", K::Underline},
    {"ulthdashdd", K::Underline},
    {"ulthldash", K::Underline},
    {"ululdbwave", K::Underline},
    {"ulw", K::Underline},
    {"ulwave", K::Underline},
    {"userprops", K::SkipDestination},
    {"wgrffmtfilter", K::SkipDestination},
    {"xe", K::SkipDestination},
    {"xmlnstbl", K::SkipDestination},
});

constexpr bool sorted() {
    for (size_t i = 1; i < kKeywords.size(); ++i)
        if (!(kKeywords[i - 1].name < kKeywords[i].name)) return false;
    return true;
}
static_assert(sorted(), "keep the keyword table sorted");

}  // namespace

KeywordInfo lookupKeyword(QByteArrayView name) {
    // Every control word of a note passes here: one hash beats a binary search.
    static const std::unordered_map<std::string_view, KeywordInfo> kIndex = [] {
        std::unordered_map<std::string_view, KeywordInfo> index;
        for (const Entry& e : kKeywords) index.emplace(e.name, KeywordInfo{e.keyword, e.character});
        return index;
    }();
    const auto it = kIndex.find(std::string_view(name.data(), static_cast<size_t>(name.size())));
    return it != kIndex.end() ? it->second : KeywordInfo{};
}

}  // namespace tavlo::rtf
