#include "SiteAddress.h"

#include "FileError.h"
#include "SettingsFile.h"

#include <QDir>
#include <QRegularExpression>

namespace tavlo::app {

namespace {

QString configuredBase(const ProgramFolder& folder) {
    try {
        const auto lines = readSettingsLines(folder.path(SiteAddress::kSettingFile));
        if (lines && !lines->empty()) return QString::fromStdString(lines->front()).trimmed();
    } catch (const FileError&) {
        // An unreadable setting falls back to the shipped pages: the panel
        // and the help must keep working.
    }
    return {};
}

bool hasScheme(const QString& text) {
    // "c:/x" is a Windows path, not a scheme: a scheme has two letters or more.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(text).hasMatch();
}

QString folderBase(const ProgramFolder& folder, const QString& name) {
    QString path = name;
    if (QDir::isRelativePath(path)) {
        path = QDir(QString::fromStdU16String(folder.root().u16string())).filePath(name);
    }
    return QUrl::fromLocalFile(QDir::cleanPath(path)).toString();
}

}  // namespace

SiteAddress::SiteAddress(const ProgramFolder& folder) {
    const QString configured = configuredBase(folder);
    if (configured.isEmpty()) {
        base_ = folderBase(folder, QString::fromLatin1(kShippedFolder));
    } else if (hasScheme(configured)) {
        base_ = configured;
    } else {
        base_ = folderBase(folder, configured);
    }
    while (base_.endsWith(u'/')) base_.chop(1);
}

QUrl SiteAddress::page(const QString& path) const {
    return QUrl(base_ + path);
}

}  // namespace tavlo::app
