#include "DeepinWallpaper.h"
#include "DBusCall.h"
#include "PicturePath.h"
#include "WallpaperTexts.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>

#include <array>
#include <optional>

namespace tavlo::wallpaper {
namespace {

struct Services {
    QString appearance, appearancePath;  // the interface is named as the service
    QString display, displayPath, monitorInterface;
};

const std::array kGenerations = {
    Services{QStringLiteral("org.deepin.dde.Appearance1"), QStringLiteral("/org/deepin/dde/Appearance1"),
             QStringLiteral("org.deepin.dde.Display1"), QStringLiteral("/org/deepin/dde/Display1"),
             QStringLiteral("org.deepin.dde.Display1.Monitor")},
    Services{QStringLiteral("com.deepin.daemon.Appearance"), QStringLiteral("/com/deepin/daemon/Appearance"),
             QStringLiteral("com.deepin.daemon.Display"), QStringLiteral("/com/deepin/daemon/Display"),
             QStringLiteral("com.deepin.daemon.Display.Monitor")},
};

QDBusMessage propertyCall(const QString& service, const QString& path, const QString& interface,
                          const QString& property) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                       QStringLiteral("Get"));
    call << interface << property;
    return call;
}

QList<QDBusObjectPath> objectPaths(const QVariant& value) {
    if (value.canConvert<QDBusArgument>()) return qdbus_cast<QList<QDBusObjectPath>>(value.value<QDBusArgument>());
    return value.value<QList<QDBusObjectPath>>();
}

// The monitors of the generation whose services run; nullopt when they do not.
std::optional<QStringList> monitorNames(const Services& services) {
    const QDBusMessage call =
        propertyCall(services.display, services.displayPath, services.display, QStringLiteral("Monitors"));
    const QDBusMessage reply = callSessionBusAllowingErrors(BackendKind::Deepin, call);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (isServiceMissing(reply)) return std::nullopt;
        throwCallError(BackendKind::Deepin, call, reply);
    }
    QStringList names;
    const QVariant monitors = reply.arguments().value(0).value<QDBusVariant>().variant();
    for (const QDBusObjectPath& monitor : objectPaths(monitors)) {
        const QString path = monitor.path();
        const QDBusMessage enabled = callSessionBusAllowingErrors(
            BackendKind::Deepin,
            propertyCall(services.display, path, services.monitorInterface, QStringLiteral("Enabled")));
        if (enabled.type() != QDBusMessage::ErrorMessage &&
            !enabled.arguments().value(0).value<QDBusVariant>().variant().toBool())
            continue;  // switched off: shows nothing
        names << readProperty(BackendKind::Deepin, services.display, path, services.monitorInterface,
                              QStringLiteral("Name"))
                     .toString();
    }
    return names;
}

// The generation whose services run, with its enabled monitors.
std::pair<const Services*, QStringList> runningServices() {
    for (const Services& services : kGenerations) {
        const std::optional<QStringList> monitors = monitorNames(services);
        if (!monitors) continue;
        if (monitors->isEmpty())
            throw WallpaperError(texts::noMonitor(BackendKind::Deepin), "deepin: the display service lists no monitor");
        return {&services, *monitors};
    }
    throw WallpaperError(texts::serviceNotRunning(BackendKind::Deepin, kGenerations[0].display.toStdString()),
                         "deepin: neither display service runs");
}

void setMonitorBackground(const Services& services, const QString& monitor, const QString& uri) {
    QDBusMessage call = QDBusMessage::createMethodCall(services.appearance, services.appearancePath,
                                                       services.appearance, QStringLiteral("SetMonitorBackground"));
    call << monitor << uri;
    callSessionBus(BackendKind::Deepin, call);
}

}  // namespace

void DeepinWallpaper::SetWallpaper(const std::filesystem::path& path) {
    const QString uri = fileAddress(path);
    const auto [services, monitors] = runningServices();
    for (const QString& monitor : monitors) setMonitorBackground(*services, monitor, uri);
}

void DeepinWallpaper::SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) {
    const auto [services, monitors] = runningServices();
    for (const MonitorPicture& picture : pictures) {
        const QString monitor = QString::fromStdString(picture.monitor.name);
        if (!monitors.contains(monitor))
            throw WallpaperError(texts::onMonitor(picture.monitor.name, texts::monitorGone()),
                                 "deepin: the display service lists no monitor " + picture.monitor.name);
        try {
            setMonitorBackground(*services, monitor, fileAddress(picture.picture));
        } catch (const WallpaperError& error) {
            throw WallpaperError(texts::onMonitor(picture.monitor.name, error.cause()), error.what());
        }
    }
}

}  // namespace tavlo::wallpaper
