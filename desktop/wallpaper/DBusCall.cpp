#include "DBusCall.h"
#include "WallpaperBackend.h"
#include "WallpaperTexts.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusVariant>

namespace tavlo::wallpaper {
namespace {

// D-Bus error texts may span lines (script errors do); the log gets one line.
std::string oneLine(const QString& text) {
    return text.simplified().toStdString();
}

std::string causeOf(BackendKind desktop, const QDBusMessage& call, const QDBusMessage& reply) {
    const std::string service = call.service().toStdString();
    const QString name = reply.errorName();
    if (isServiceMissing(reply)) return texts::serviceNotRunning(desktop, service);
    if (name == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
        name == QLatin1String("org.freedesktop.DBus.Error.Timeout") ||
        name == QLatin1String("org.freedesktop.DBus.Error.TimedOut"))
        return texts::serviceSilent(desktop, service);
    if (name == QLatin1String("org.freedesktop.DBus.Error.AccessDenied")) return texts::serviceDenied(desktop, service);
    return texts::serviceRefused(desktop, service, call.member().toStdString());
}

}  // namespace

bool isServiceMissing(const QDBusMessage& reply) {
    const QString name = reply.errorName();
    return name == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown") ||
           name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner") ||
           name == QLatin1String("org.freedesktop.DBus.Error.UnknownObject");
}

QDBusMessage callSessionBusAllowingErrors(BackendKind desktop, const QDBusMessage& call) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        throw WallpaperError(texts::noSessionBus(), backendName(desktop) + ": cannot reach the session D-Bus: " +
                                                        oneLine(bus.lastError().message()));
    // Long enough for a busy shell to run a script, short enough not to hang
    // the command when the service is stuck.
    constexpr int kTimeoutMs = 20000;
    return bus.call(call, QDBus::Block, kTimeoutMs);
}

void throwCallError(BackendKind desktop, const QDBusMessage& call, const QDBusMessage& reply) {
    const QString text = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    throw WallpaperError(causeOf(desktop, call, reply), backendName(desktop) + ": " + call.service().toStdString() +
                                                            " " + call.member().toStdString() +
                                                            " failed: " + oneLine(text));
}

QDBusMessage callSessionBus(BackendKind desktop, const QDBusMessage& call) {
    QDBusMessage reply = callSessionBusAllowingErrors(desktop, call);
    if (reply.type() == QDBusMessage::ErrorMessage) throwCallError(desktop, call, reply);
    return reply;
}

QVariant readProperty(BackendKind desktop, const QString& service, const QString& path, const QString& interface,
                      const QString& property) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                       QStringLiteral("Get"));
    call << interface << property;
    const QDBusMessage reply = callSessionBus(desktop, call);
    if (reply.arguments().isEmpty()) return {};
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

}  // namespace tavlo::wallpaper
