#include "XfceWallpaper.h"
#include "DBusCall.h"
#include "PicturePath.h"

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

}  // namespace

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
    for (const QString& image : images) setProperty(styleProperty(image), kStretchedStyle);
    // xfconf drops a change to the value a property already has; the caller
    // hands over a path other than the one the desktop has.
    for (const QString& image : images) setProperty(image, file);
}

}  // namespace tavlo::wallpaper
