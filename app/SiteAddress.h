#pragma once
#include "ProgramFolder.h"

#include <QString>
#include <QUrl>

#include <filesystem>
#include <optional>

namespace tavlo::app {

// Where the maker's web pages live. The base address is one line of
// "Data\WebSite.ini": an http or https address is used as it stands; a
// folder (a name relative to the program folder, a full path or a file
// address) only when it lies inside the program folder's "site" folder.
// Anything else (another scheme, a folder elsewhere) would let the file put
// script or private files into the web panel: it is refused with a line in
// the log. With no file, an empty line or a refused one, the pages shipped
// in "site" are used, so that everything works offline. A page of a folder
// is given only when the file it names, links followed, lies inside "site"
// too: a link placed there never brings in a page from elsewhere.
class SiteAddress {
public:
    explicit SiteAddress(const ProgramFolder& folder);

    // The page at `path` ("/rs/Tavlo.htm") under the base address;
    // "about:blank", with a line in the log, for a page that a link takes
    // out of "site".
    QUrl page(const QString& path) const;

    const QString& base() const { return base_; }

    static constexpr const char* kSettingFile = "Data\\WebSite.ini";
    static constexpr const char* kShippedFolder = "site";

    static inline const QString kStartPage = QStringLiteral("/rs/Tavlo.htm");
    static inline const QString kHelpPage = QStringLiteral("/help4/tavloa.htm");
    static inline const QString kFeedbackPage = QStringLiteral("/help4/tavlob.htm");

private:
    QString base_;  // without a trailing '/'
    std::filesystem::path site_;
    std::optional<std::filesystem::path> folder_;  // the base's folder, when it is one
};

// A file address of `path` from its own bytes: a folder whose name is not
// UTF-8 reaches the browser as it is on disk.
QString fileAddress(const std::filesystem::path& path);

}  // namespace tavlo::app
