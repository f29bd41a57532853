#include "RtfReader.h"

#include "CodePage.h"
#include "RtfKeywords.h"

#include <QHash>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace tavlo::rtf {

namespace {

// Object: an embedded object, whose only text is its \result (what the
// object looks like to a reader that cannot show the object itself).
enum class Destination : quint8 { Text, FontTable, ColorTable, Object, Skip };

// What a group carries and restores when it closes.
struct GroupState {
    Destination destination = Destination::Text;
    int font = -1;  // -1: no \f since \plain, the editor's font
    int halfPoints = 0;
    int color = 0;
    int unicodeSkip = 1;  // \ucN
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    // Bold and italic of the associated (Asian or right-to-left) characters:
    // some writers mark Chinese text bold only this way.
    bool associatedBold = false;
    bool associatedItalic = false;

    bool operator==(const GroupState&) const = default;

    void resetCharacter() {
        font = -1;
        halfPoints = 0;
        color = 0;
        bold = italic = underline = strike = associatedBold = associatedItalic = false;
    }
};

struct FontEntry {
    QString name;
    int charset = 1;
    int codePage = 0;  // \cpgN, before the character set
};

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Bytes that end a run of plain text: group and control characters, and the
// line ends and NULs that RTF ignores.
bool endsText(char c) {
    return c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n' || c == '\0';
}

class Parser {
public:
    explicit Parser(QByteArrayView bytes) : p_(bytes.data()), end_(bytes.data() + bytes.size()) {}

    RtfText parse() {
        text_.emplace_back();
        while (p_ < end_) {
            const char c = *p_;
            if (c == '{') {
                ++p_;
                openGroup();
            } else if (c == '}') {
                ++p_;
                closeGroup();
                if (stack_.empty()) return std::move(text_);  // the document's own group closed
            } else if (c == '\\') {
                ++p_;
                control();
            } else if (c == '\r' || c == '\n' || c == '\0') {
                ++p_;
            } else {
                plainText();
            }
        }
        // Cut short: what was read so far is the note, as word processors show it.
        if (state_.destination == Destination::FontTable) commitFontName();
        flush();
        return std::move(text_);
    }

private:
    // Groups nested deeper than the limit keep the state of the last one
    // that was kept: their number is all that is counted.
    void openGroup() {
        flush();
        skipCount_ = 0;
        if (static_cast<int>(stack_.size()) >= kMaxGroupDepth) {
            ++groupsPastLimit_;
            return;
        }
        stack_.push_back(state_);
    }

    void closeGroup() {
        flush();
        skipCount_ = 0;
        if (groupsPastLimit_ > 0) {
            --groupsPastLimit_;
            return;
        }
        if (state_.destination == Destination::FontTable) commitFontName();
        state_ = stack_.back();
        stack_.pop_back();
    }

    void plainText() {
        const char* start = p_;
        while (p_ < end_ && !endsText(*p_)) ++p_;
        if (skipCount_ == 0 && state_.destination == Destination::Text) {
            queueBytes(QByteArrayView(start, p_ - start), textCodePage());
            return;
        }
        for (const char* b = start; b < p_; ++b) addByte(*b);
    }

    void control() {
        if (p_ >= end_) return;
        if (!isLetter(*p_)) {
            controlSymbol(*p_++);
            return;
        }
        const char* nameStart = p_;
        while (p_ < end_ && isLetter(*p_)) ++p_;
        const QByteArrayView name(nameStart, std::min<qsizetype>(p_ - nameStart, 32));
        bool hasParameter = false;
        bool negative = false;
        long long parameter = 0;
        if (p_ + 1 < end_ && *p_ == '-' && isDigit(p_[1])) {
            negative = true;
            ++p_;
        }
        while (p_ < end_ && isDigit(*p_)) {
            hasParameter = true;
            parameter = std::min<long long>(parameter * 10 + (*p_ - '0'), 1LL << 32);
            ++p_;
        }
        if (p_ < end_ && *p_ == ' ') ++p_;
        const int value =
            static_cast<int>(std::clamp<long long>(negative ? -parameter : parameter, INT32_MIN, INT32_MAX));
        controlWord(lookupKeyword(name), hasParameter, value);
    }

    void controlSymbol(char c) {
        switch (c) {
        case '\\':
        case '{':
        case '}': addByte(c); return;
        case '\'': {
            const int high = p_ < end_ ? hexValue(*p_) : -1;
            const int low = high >= 0 && p_ + 1 < end_ ? hexValue(p_[1]) : -1;
            if (low < 0) return;  // a broken escape stands for nothing
            p_ += 2;
            addByte(static_cast<char>(high * 16 + low));
            return;
        }
        default: break;
        }
        if (skipCount_ > 0) {
            --skipCount_;
            return;
        }
        switch (c) {
        case '*': state_.destination = Destination::Skip; break;
        case '~': addChar(0x00A0); break;
        case '-': addChar(0x00AD); break;
        case '_': addChar(0x2011); break;
        case '\r':
        case '\n': paragraph(); break;
        default: break;  // formula and index symbols carry no text
        }
    }

    void controlWord(KeywordInfo word, bool hasParameter, int value) {
        if (word.keyword == Keyword::Bin) {
            // Binary data cut short ends the document with it.
            if (hasParameter && value > 0) p_ += std::min<qsizetype>(value, end_ - p_);
            if (skipCount_ > 0) --skipCount_;
            return;
        }
        if (skipCount_ > 0) {
            --skipCount_;
            return;
        }
        flush();
        if (state_.destination == Destination::Skip) return;
        switch (word.keyword) {
        case Keyword::Character: addChar(word.character); break;
        case Keyword::Paragraph: paragraph(); break;
        case Keyword::Unicode: unicode(value); break;
        case Keyword::UnicodeSkip: state_.unicodeSkip = std::max(0, value); break;
        default:
            if (!characterWord(word.keyword, !hasParameter || value != 0, value)) tableWord(word.keyword, value);
        }
    }

    // \uN names a UTF-16 unit, signed or not; a number beyond 16 bits names
    // nothing, and the fall-back characters after it stand in its place.
    void unicode(int value) {
        if (value < -32768 || value > 65535) return;
        addChar(static_cast<char16_t>(value < 0 ? value + 65536 : value));
        skipCount_ = state_.unicodeSkip;
    }

    // Words of the character format; false for any other word.
    bool characterWord(Keyword word, bool on, int value) {
        switch (word) {
        case Keyword::FontSize: state_.halfPoints = std::clamp(value, 0, 3200); break;
        case Keyword::Bold: state_.bold = on; break;
        case Keyword::Italic: state_.italic = on; break;
        case Keyword::AssociatedBold: state_.associatedBold = on; break;
        case Keyword::AssociatedItalic: state_.associatedItalic = on; break;
        case Keyword::Underline: state_.underline = on; break;
        case Keyword::UnderlineNone: state_.underline = false; break;
        case Keyword::Strike: state_.strike = on; break;
        case Keyword::ColorIndex: state_.color = value; break;
        case Keyword::Plain: state_.resetCharacter(); break;
        default: return false;
        }
        return true;
    }

    // Destinations, code pages and the words of the font and colour tables.
    void tableWord(Keyword word, int value) {
        switch (word) {
        case Keyword::SkipDestination: state_.destination = Destination::Skip; break;
        case Keyword::FontTable: state_.destination = Destination::FontTable; break;
        case Keyword::Object: state_.destination = Destination::Object; break;
        case Keyword::ObjectResult:
            if (state_.destination == Destination::Object) state_.destination = Destination::Text;
            break;
        case Keyword::ColorTable:
            state_.destination = Destination::ColorTable;
            colors_.clear();
            tablesChanged();
            break;
        case Keyword::Ansi: setDocumentCodePage(kCodePageAnsi); break;
        case Keyword::Mac: setDocumentCodePage(10000); break;
        case Keyword::Pc: setDocumentCodePage(437); break;
        case Keyword::Pca: setDocumentCodePage(850); break;
        case Keyword::AnsiCodePage:
            if (value > 0) setDocumentCodePage(value);
            break;
        case Keyword::DefaultFont:
            defaultFont_ = value;
            tablesChanged();
            break;
        case Keyword::Font: font(value); break;
        case Keyword::FontCharset:
            if (state_.destination == Destination::FontTable) fonts_[fontEntry_].charset = value;
            tablesChanged();
            break;
        case Keyword::FontCodePage:
            if (state_.destination == Destination::FontTable) fonts_[fontEntry_].codePage = value;
            tablesChanged();
            break;
        case Keyword::Red: colorPart(16, value); break;
        case Keyword::Green: colorPart(8, value); break;
        case Keyword::Blue: colorPart(0, value); break;
        default: break;  // words this reader does not need
        }
    }

    void font(int index) {
        if (state_.destination == Destination::FontTable) {
            commitFontName();
            fontEntry_ = index;
            fonts_[index];
            tablesChanged();
        } else {
            state_.font = std::max(index, -1);  // no negative font numbers: the editor's font
        }
    }

    void colorPart(int shift, int value) {
        if (state_.destination != Destination::ColorTable) return;
        color_ = (color_ & ~(0xFFu << shift)) | (static_cast<QRgb>(std::clamp(value, 0, 255)) << shift);
        colorGiven_ = true;
    }

    // One byte of text: raw, \'hh or an escaped brace or backslash.
    void addByte(char byte) {
        if (skipCount_ > 0) {
            --skipCount_;
            return;
        }
        switch (state_.destination) {
        case Destination::Text: queueBytes(QByteArrayView(&byte, 1), textCodePage()); break;
        case Destination::FontTable:
            if (byte == ';') {
                commitFontName();
            } else {
                const auto entry = fonts_.constFind(fontEntry_);
                queueBytes(QByteArrayView(&byte, 1), entry == fonts_.cend() ? documentCodePage_ : codePageOf(*entry));
            }
            break;
        case Destination::ColorTable:
            if (byte == ';') {
                colors_.push_back(colorGiven_ ? std::optional<QRgb>(qRgb(qRed(color_), qGreen(color_), qBlue(color_)))
                                              : std::nullopt);
                color_ = 0;
                colorGiven_ = false;
                tablesChanged();
            }
            break;
        case Destination::Object:
        case Destination::Skip: break;
        }
    }

    // Bytes wait until the run ends, so that a character of a multi-byte code
    // page written as two \'hh escapes is decoded whole.
    void queueBytes(QByteArrayView bytes, int codePage) {
        if (!pending_.empty() && codePage != pendingCodePage_) flush();
        pendingCodePage_ = codePage;
        pending_.append(bytes.data(), static_cast<size_t>(bytes.size()));
    }

    void flush() {
        if (pending_.empty()) return;
        const bool ascii = std::all_of(pending_.cbegin(), pending_.cend(), [](char c) { return c >= 0; });
        const QString decoded = ascii ? QString::fromLatin1(pending_) : decodeCodePage(pendingCodePage_, pending_);
        pending_.clear();
        addDecoded(decoded);
    }

    void addChar(char16_t c) {
        if (state_.destination != Destination::Text && state_.destination != Destination::FontTable) return;
        flush();
        addDecoded(QStringView(&c, 1));
    }

    void addDecoded(QStringView decoded) {
        if (state_.destination == Destination::FontTable) {
            fontName_ += decoded;
            return;
        }
        if (state_.destination != Destination::Text) return;
        startPendingParagraph();
        std::vector<Run>& runs = text_.back().runs;
        const RunFormat& format = currentFormat();
        if (runs.empty() || (runGeneration_ != formatGeneration_ && runs.back().format != format))
            runs.push_back(Run{QString(), format});
        runGeneration_ = formatGeneration_;
        const bool safe = std::none_of(decoded.begin(), decoded.end(), [](QChar c) {
            return c.unicode() < 0x20 ? c == u'\0' || c == u'\r' || c == u'\n'
                                      : c == QChar::ParagraphSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1);
        });
        if (safe)
            runs.back().text += decoded;
        else
            runs.back().text += documentSafe(decoded);
    }

    // A paragraph mark ends its paragraph; one at the very end of the document
    // starts none (editors write one after the last paragraph).
    void paragraph() {
        if (state_.destination != Destination::Text) return;
        flush();
        startPendingParagraph();
        paragraphPending_ = true;
    }

    void startPendingParagraph() {
        if (!paragraphPending_) return;
        text_.emplace_back();
        paragraphPending_ = false;
    }

    void commitFontName() {
        flush();
        if (fontName_.isEmpty()) return;
        // A semicolon ends a name in the table, so no name can hold one, not
        // even from \u59: the name must read back as it was written.
        fonts_[fontEntry_].name = fontName_.remove(u';').trimmed();
        tablesChanged();
        fontName_.clear();
    }

    int codePageOf(const FontEntry& entry) const {
        return entry.codePage > 0 ? entry.codePage : codePageOfCharset(entry.charset, documentCodePage_);
    }

    int textCodePage() {
        if (state_.font != codePageFont_) {
            const auto entry = fonts_.constFind(state_.font >= 0 ? state_.font : defaultFont_);
            codePage_ = entry == fonts_.cend() ? documentCodePage_ : codePageOf(*entry);
            codePageFont_ = state_.font;
        }
        return codePage_;
    }

    void setDocumentCodePage(int codePage) {
        documentCodePage_ = codePage;
        tablesChanged();
    }

    // The font and colour tables and the code pages behind the cached format
    // and code page changed.
    void tablesChanged() {
        formatState_.reset();
        codePageFont_ = kNoFont;
    }

    // The format of the current state, worked out again only when the state
    // or the tables behind it change.
    const RunFormat& currentFormat() {
        if (formatState_ && *formatState_ == state_) return format_;
        formatState_ = state_;
        format_ = formatOfState();
        ++formatGeneration_;
        return format_;
    }

    RunFormat formatOfState() const {
        RunFormat format;
        if (state_.font >= 0) {
            const auto entry = fonts_.constFind(state_.font);
            if (entry != fonts_.cend()) format.family = entry->name;
        }
        format.halfPoints = state_.halfPoints;
        format.bold = state_.bold || state_.associatedBold;
        format.italic = state_.italic || state_.associatedItalic;
        format.underline = state_.underline;
        format.strike = state_.strike;
        if (state_.color >= 0 && state_.color < static_cast<int>(colors_.size())) format.color = colors_[state_.color];
        return format;
    }

    const char* p_;
    const char* end_;
    std::vector<GroupState> stack_;
    GroupState state_;
    int skipCount_ = 0;  // fall-back characters after \uN still to skip
    int groupsPastLimit_ = 0;
    int documentCodePage_ = kCodePageAnsi;
    int defaultFont_ = 0;
    QHash<int, FontEntry> fonts_;
    int fontEntry_ = 0;
    QString fontName_;
    std::vector<std::optional<QRgb>> colors_;
    QRgb color_ = 0;
    bool colorGiven_ = false;
    std::string pending_;
    int pendingCodePage_ = kCodePageAnsi;
    RtfText text_;
    bool paragraphPending_ = false;
    static constexpr int kNoFont = INT_MIN;
    int codePageFont_ = kNoFont;
    int codePage_ = kCodePageAnsi;
    std::optional<GroupState> formatState_;
    RunFormat format_;
    quint64 formatGeneration_ = 0;
    quint64 runGeneration_ = ~quint64(0);
};

// "{\rtf" and no longer control word; or a note cut short within those
// bytes (a lone "{" is taken for text).
bool startsAsRtf(QByteArrayView bytes) {
    static constexpr char kStart[] = "{\\rtf";
    const qsizetype n = sizeof(kStart) - 1;
    if (bytes.size() < n) return bytes.size() >= 2 && std::memcmp(bytes.data(), kStart, bytes.size()) == 0;
    return std::memcmp(bytes.data(), kStart, n) == 0 && (bytes.size() == n || !isLetter(bytes[n]));
}

}  // namespace

std::optional<RtfText> parseRtf(QByteArrayView bytes) {
    if (!startsAsRtf(bytes)) return std::nullopt;
    return Parser(bytes).parse();
}

}  // namespace tavlo::rtf
