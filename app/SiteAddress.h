#pragma once
#include "ProgramFolder.h"

#include <QString>
#include <QUrl>

namespace tavlo::app {

// Where the maker's web pages live. The base address is one line of
// "Data\WebSite.ini": an address with a scheme ("https://example.org") is used
// as it stands; a folder name is taken relative to the program folder. With no
// file or an empty line, the pages shipped in the program folder's "site"
// folder are used, so that everything works offline.
class SiteAddress {
public:
    explicit SiteAddress(const ProgramFolder& folder);

    // The page at `path` ("/rs/Tavlo.htm") under the base address.
    QUrl page(const QString& path) const;

    const QString& base() const { return base_; }

    static constexpr const char* kSettingFile = "Data\\WebSite.ini";
    static constexpr const char* kShippedFolder = "site";

    static inline const QString kStartPage = QStringLiteral("/rs/Tavlo.htm");
    static inline const QString kHelpPage = QStringLiteral("/help4/tavloa.htm");
    static inline const QString kFeedbackPage = QStringLiteral("/help4/tavlob.htm");

private:
    QString base_;  // without a trailing '/'
};

}  // namespace tavlo::app
