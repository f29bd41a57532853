#include "SiteAddress.h"

#include "FileError.h"
#include "PathText.h"
#include "SettingsFile.h"

#include <QLoggingCategory>
#include <QRegularExpression>

namespace tavlo::app {

namespace {

Q_LOGGING_CATEGORY(siteLog, "tavlo.site")

std::string configuredBase(const ProgramFolder& folder) {
    try {
        const auto lines = readSettingsLines(folder.path(SiteAddress::kSettingFile));
        if (lines && !lines->empty()) return QString::fromStdString(lines->front()).trimmed().toStdString();
    } catch (const FileError& error) {
        // An unreadable setting falls back to the shipped pages: the panel
        // and the help must keep working.
        qCWarning(siteLog, "%s", error.what());
    }
    return {};
}

bool hasScheme(const QString& text) {
    // "c:/x" is a Windows path, not a scheme: a scheme has two letters or more.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(text).hasMatch();
}

// The folder a file address names, from its own bytes.
std::filesystem::path folderOfFileAddress(const QUrl& url) {
    QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
#ifdef _WIN32
    if (bytes.size() > 2 && bytes[0] == '/' && bytes[2] == ':') bytes.remove(0, 1);  // "/C:/x"
#endif
    return textToPath(bytes.toStdString());
}

// The folder that a setting names, if it names one.
std::optional<std::filesystem::path> folderOfSetting(const ProgramFolder& folder, const std::string& setting) {
    const QString text = QString::fromStdString(setting);
    if (!hasScheme(text)) return folder.root() / textToPath(setting);  // a full path replaces the root
    const QUrl url(text);
    if (url.isValid() && url.scheme().compare(u"file", Qt::CaseInsensitive) == 0 && url.host().isEmpty())
        return folderOfFileAddress(url);
    return std::nullopt;
}

bool isInside(const std::filesystem::path& path, const std::filesystem::path& folder) {
    const std::filesystem::path relative = path.lexically_normal().lexically_relative(folder.lexically_normal());
    return !relative.empty() && *relative.begin() != "..";
}

bool isWebAddress(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == u"http" || scheme == u"https") && !url.host().isEmpty();
}

}  // namespace

QString fileAddress(const std::filesystem::path& path) {
    const std::u8string text = path.lexically_normal().generic_u8string();
    QByteArray encoded = QByteArray(reinterpret_cast<const char*>(text.data()), static_cast<qsizetype>(text.size()))
                             .toPercentEncoding("/:");
    if (!encoded.startsWith('/')) encoded.prepend('/');
    return QUrl::fromEncoded("file://" + encoded).toString();
}

SiteAddress::SiteAddress(const ProgramFolder& folder) : site_(folder.root() / kShippedFolder) {
    const std::filesystem::path& site = site_;
    const std::string configured = configuredBase(folder);
    base_ = fileAddress(site);
    folder_ = site;
    if (!configured.empty()) {
        const QString text = QString::fromStdString(configured);
        const auto named = folderOfSetting(folder, configured);
        if (isWebAddress(text)) {
            base_ = text;
            folder_.reset();
        } else if (named && isInside(*named, site)) {
            base_ = fileAddress(*named);
            folder_ = *named;
        } else {
            qCWarning(siteLog).noquote() << QStringLiteral(
                                                "网页地址“%1”不是 http 或 https 地址，也不在程序的 site "
                                                "文件夹里，改用程序自带的网页")
                                                .arg(text);
        }
    }
    while (base_.endsWith(u'/')) base_.chop(1);
}

QUrl SiteAddress::page(const QString& path) const {
    if (folder_) {
        // Where the file really is, every link on the way followed.
        std::error_code error;
        const std::filesystem::path file =
            std::filesystem::weakly_canonical(*folder_ / textToPath(path.mid(1).toStdString()), error);
        const std::filesystem::path site = std::filesystem::weakly_canonical(site_, error);
        if (!isInside(file, site)) {
            qCWarning(siteLog).noquote()
                << QStringLiteral("网页“%1”经由链接指向 site 文件夹以外，不予打开").arg(base_ + path);
            return QUrl(QStringLiteral("about:blank"));
        }
    }
    return QUrl(base_ + path);
}

}  // namespace tavlo::app
