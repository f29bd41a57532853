#include "PicturePath.h"
#include "WallpaperBackend.h"
#include "WallpaperTexts.h"

#include <QByteArray>

namespace tavlo::wallpaper {

QString fileAddress(const std::filesystem::path& picture) {
    const QByteArray bytes = QByteArray::fromStdString(std::filesystem::absolute(picture).string());
    return QStringLiteral("file://") + QString::fromLatin1(bytes.toPercentEncoding("/"));
}

QString pathText(const std::filesystem::path& picture) {
    const std::string bytes = std::filesystem::absolute(picture).string();
    const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (text.toUtf8() != QByteArray::fromStdString(bytes))
        throw WallpaperError(texts::pathNotUtf8(), "the picture path is not valid UTF-8: " + bytes);
    return text;
}

}  // namespace tavlo::wallpaper
