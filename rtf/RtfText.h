#pragma once
#include <QColor>
#include <QString>

#include <optional>
#include <vector>

// The text of a note between RTF and QTextDocument: paragraphs of runs, each
// run with its character format. Unset attributes leave the editor's own font.
namespace tavlo::rtf {

struct RunFormat {
    QString family;      // empty: the editor's font
    int halfPoints = 0;  // 0: the editor's size
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    std::optional<QRgb> color;  // none: the editor's colour

    bool operator==(const RunFormat&) const = default;
};

struct Run {
    QString text;
    RunFormat format;
};

struct Paragraph {
    std::vector<Run> runs;
};

using RtfText = std::vector<Paragraph>;

// Characters that QTextDocument would take for paragraph or frame marks
// inside a run: line ends become line breaks, frame marks U+FFFD, NULs go.
QString documentSafe(QStringView text);

// The plain text of `text`: paragraphs joined by '\n', as QTextDocument::toPlainText gives it.
QString plainTextOf(const RtfText& text);

}  // namespace tavlo::rtf
