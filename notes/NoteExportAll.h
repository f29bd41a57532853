#pragma once
#include <QString>

#include <filesystem>

namespace tavlo::notes {

class Connection;

// How the text files of an export are written: UTF-8 with LF line ends, or
// GB18030 (the Chinese code page's superset) with CR LF, as the export of
// one day note is.
enum class ExportEncoding { Utf8, Gb18030 };

struct ExportCount {
    int dayNotes = 0;
    int weekPages = 0;
};

// Writes every note with visible text into `folder` (created when missing):
// each day note as "YYYYMMDD.txt", each week page as "周记A.txt" … with the
// six columns under their weekdays, and all of them in one "全部记事.html"
// that keeps their colours and styles. Existing files of those names are
// replaced, each whole or not at all. Throws NotesError or FileError.
ExportCount exportAllNotes(Connection& connection, const std::filesystem::path& folder, ExportEncoding encoding);

// The name of the HTML file among them.
inline const QString kExportHtmlName = QStringLiteral("全部记事.html");

}  // namespace tavlo::notes
