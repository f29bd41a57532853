#include "XfceWallpaper.h"
#include "DBusCall.h"
#include "PicturePath.h"
#include "WallpaperTexts.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QRegularExpression>
#include <QVariantMap>

namespace tavlo::wallpaper {
namespace {

const QString kChannel = QStringLiteral("xfce4-desktop");

// xfdesktop's image-style for "stretched".
constexpr int kStretchedStyle = 3;

// Used when the desktop has not stored any backdrop yet.
const QString kFirstImageProperty = QStringLiteral("/backdrop/screen0/monitor0/workspace0/last-image");

QDBusMessage xfconfCall(const QString& method) {
    return QDBusMessage::createMethodCall(QStringLiteral("org.xfce.Xfconf"), QStringLiteral("/org/xfce/Xfconf"),
                                          QStringLiteral("org.xfce.Xfconf"), method);
}

QStringList backdropPropertyNames() {
    QDBusMessage call = xfconfCall(QStringLiteral("GetAllProperties"));
    call << kChannel << QStringLiteral("/backdrop");
    const QDBusMessage reply = callSessionBusAllowingErrors(BackendKind::Xfce, call);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        // A desktop that has never stored a backdrop has no such channel or
        // property yet; anything else (no daemon, say) is a failure.
        const QString error = reply.errorName();
        if (error.endsWith(QLatin1String(".PropertyNotFound")) || error.endsWith(QLatin1String(".ChannelNotFound")))
            return {};
        throwCallError(BackendKind::Xfce, call, reply);
    }
    if (reply.arguments().isEmpty()) return {};
    return qdbus_cast<QVariantMap>(reply.arguments().constFirst()).keys();
}

void setProperty(const QString& property, const QVariant& value) {
    QDBusMessage call = xfconfCall(QStringLiteral("SetProperty"));
    call << kChannel << property << QVariant::fromValue(QDBusVariant(value));
    callSessionBus(BackendKind::Xfce, call);
}

QString styleProperty(const QString& imageProperty) {
    return imageProperty.chopped(QStringLiteral("last-image").size()) + QStringLiteral("image-style");
}

// Sets the style, then the picture, of each property; xfconf drops a change
// to the value a property already has, so the caller hands over a path
// other than the one the desktop has.
void setImages(const QStringList& images, const QString& file) {
    for (const QString& image : images) setProperty(styleProperty(image), kStretchedStyle);
    for (const QString& image : images) setProperty(image, file);
}

}  // namespace

QStringList XfceWallpaper::monitorImageProperties(const QStringList& imageProperties, const std::string& output) {
    const QString segment = QStringLiteral("/monitor") + QString::fromStdString(output) + QLatin1Char('/');
    QStringList own;
    for (const QString& property : imageProperties)
        if (property.contains(segment)) own << property;
    return own;
}

void XfceWallpaper::SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) {
    const QStringList images = imageProperties(backdropPropertyNames());
    for (const MonitorPicture& picture : pictures) {
        QStringList own = monitorImageProperties(images, picture.monitor.name);
        if (own.isEmpty())
            own << QStringLiteral("/backdrop/screen0/monitor%1/workspace0/last-image")
                       .arg(QString::fromStdString(picture.monitor.name));
        try {
            setImages(own, pathText(picture.picture));
        } catch (const WallpaperError& error) {
            throw WallpaperError(texts::onMonitor(picture.monitor.name, error.cause()), error.what());
        }
    }
}

QStringList XfceWallpaper::imageProperties(const QStringList& propertyNames) {
    static const QRegularExpression pattern(
        QStringLiteral("^/backdrop/screen[^/]*/monitor[^/]*/workspace[^/]*/last-image$"));
    QStringList images = propertyNames.filter(pattern);
    images.sort();
    return images;
}

void XfceWallpaper::SetWallpaper(const std::filesystem::path& path) {
    const QString file = pathText(path);
    QStringList images = imageProperties(backdropPropertyNames());
    if (images.isEmpty()) images << kFirstImageProperty;
    setImages(images, file);
}

}  // namespace tavlo::wallpaper
