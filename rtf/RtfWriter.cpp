#include "RtfWriter.h"

#include "CodePage.h"

#include <QHash>
#include <QStringList>

#include <vector>

namespace tavlo::rtf {

namespace {

// Faces that need the Chinese character set, so that readers decode their
// names and pick them for Chinese text.
bool isChineseFace(const QString& family) {
    for (const QChar c : family)
        if (c.unicode() >= 0x2E80) return true;
    static const QStringList kNames = {"CJK",   "WenQuanYi", "WQY",      "SimSun", "SimHei", "YaHei",
                                       "KaiTi", "FangSong",  "DengXian", "Ming",   "Hei",    "Song"};
    for (const QString& name : kNames)
        if (family.contains(name, Qt::CaseInsensitive)) return true;
    return false;
}

void appendNumber(QByteArray& out, const char* word, long long value) {
    out += word;
    out += QByteArray::number(value);
}

void appendUnicode(QByteArray& out, char16_t c) {
    appendNumber(out, "\\u", c > 32767 ? static_cast<int>(c) - 65536 : static_cast<int>(c));
    out += '?';
}

void appendText(QByteArray& out, QStringView text) {
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c == QChar::LineSeparator) {
            out += "\\line ";
        } else if (c == QChar::ObjectReplacementCharacter) {
            // an embedded object: notes keep text only
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            appendUnicode(out, c);
        }
    }
}

// A Chinese face's name goes in its own character set, as \'hh bytes, which
// every reader understands; other names as text.
void appendFontName(QByteArray& out, const QString& family, bool chinese) {
    bool encoded = false;
    const QByteArray bytes = chinese ? encodeCodePage(kCodePageGbk, family, encoded) : QByteArray();
    if (!encoded) {
        appendText(out, QString(family).remove(u';'));
        return;
    }
    for (const char b : bytes) {
        if (b == ';') continue;
        if (b >= 0x20 && b != '\\' && b != '{' && b != '}') {
            out += b;
        } else {
            out += "\\'";
            out += QByteArray(1, b).toHex();
        }
    }
}

// Fonts and colours in the order of first use; looked up by hash, so a note
// with thousands of them still saves at once.
class Tables {
public:
    Tables(const RtfText& text, const QString& defaultFamily) {
        addFont(defaultFamily);
        for (const Paragraph& paragraph : text)
            for (const Run& run : paragraph.runs) {
                if (!run.format.family.isEmpty()) addFont(run.format.family);
                if (run.format.color && !colorIndex_.contains(*run.format.color)) {
                    colorIndex_.insert(*run.format.color, colors_.size() + 1);  // 0 is the editor's colour
                    colors_.push_back(*run.format.color);
                }
            }
    }

    qsizetype fontIndex(const QString& family) const { return fontIndex_.value(family); }
    qsizetype colorIndex(QRgb color) const { return colorIndex_.value(color); }

    void append(QByteArray& out) const {
        out += "{\\fonttbl";
        for (qsizetype i = 0; i < fonts_.size(); ++i) {
            const bool chinese = isChineseFace(fonts_[i]);
            appendNumber(out, "{\\f", i);
            appendNumber(out, "\\fnil\\fcharset", chinese ? 134 : 0);
            out += ' ';
            appendFontName(out, fonts_[i], chinese);
            out += ";}";
        }
        out += "}\r\n{\\colortbl ;";
        for (const QRgb color : colors_) {
            appendNumber(out, "\\red", qRed(color));
            appendNumber(out, "\\green", qGreen(color));
            appendNumber(out, "\\blue", qBlue(color));
            out += ';';
        }
        out += "}\r\n";
    }

private:
    void addFont(const QString& family) {
        if (fontIndex_.contains(family)) return;
        fontIndex_.insert(family, fonts_.size());
        fonts_.push_back(family);
    }

    QStringList fonts_;
    QHash<QString, qsizetype> fontIndex_;
    QList<QRgb> colors_;
    QHash<QRgb, qsizetype> colorIndex_;
};

void appendRun(QByteArray& out, const Run& run, const Tables& tables) {
    const RunFormat& f = run.format;
    if (f == RunFormat()) {
        appendText(out, run.text);
        return;
    }
    out += '{';
    if (!f.family.isEmpty()) appendNumber(out, "\\f", tables.fontIndex(f.family));
    if (f.halfPoints > 0) appendNumber(out, "\\fs", f.halfPoints);
    if (f.bold) out += "\\b";
    if (f.italic) out += "\\i";
    if (f.underline) out += "\\ul";
    if (f.strike) out += "\\strike";
    if (f.color) appendNumber(out, "\\cf", tables.colorIndex(*f.color));
    out += ' ';
    appendText(out, run.text);
    out += '}';
}

}  // namespace

QByteArray writeRtfText(const RtfText& text, const QString& defaultFamily) {
    const Tables tables(text, defaultFamily);
    QByteArray out;
    out.reserve(256 + static_cast<qsizetype>(text.size()) * 16);
    out += "{\\rtf1\\ansi\\ansicpg936\\deff0";
    tables.append(out);
    out += "\\uc1\\pard\\plain ";
    // Every paragraph ends with its mark, the last one too, as editors write
    // it; readers start no empty paragraph after the last mark.
    for (const Paragraph& paragraph : text) {
        for (const Run& run : paragraph.runs) appendRun(out, run, tables);
        out += "\\par\r\n";
    }
    out += "}";
    return out;
}

}  // namespace tavlo::rtf
