#include "DBusCall.h"
#include "WallpaperBackend.h"

#include <QDBusConnection>
#include <QDBusError>

namespace tavlo::wallpaper {
namespace {

// D-Bus error texts may span lines (script errors do); the message is one line.
std::string oneLine(const QString& text) {
    return text.simplified().toStdString();
}

}  // namespace

QDBusMessage callSessionBusAllowingErrors(const std::string& desktop, const QDBusMessage& call) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        throw WallpaperError(desktop + ": cannot reach the session D-Bus: " + oneLine(bus.lastError().message()));
    // Long enough for a busy shell to run a script, short enough not to hang
    // the command when the service is stuck.
    constexpr int kTimeoutMs = 20000;
    return bus.call(call, QDBus::Block, kTimeoutMs);
}

std::string callError(const std::string& desktop, const QDBusMessage& call, const QDBusMessage& reply) {
    const QString text = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    return desktop + ": " + call.service().toStdString() + " " + call.member().toStdString() +
           " failed: " + oneLine(text);
}

QDBusMessage callSessionBus(const std::string& desktop, const QDBusMessage& call) {
    QDBusMessage reply = callSessionBusAllowingErrors(desktop, call);
    if (reply.type() == QDBusMessage::ErrorMessage) throw WallpaperError(callError(desktop, call, reply));
    return reply;
}

}  // namespace tavlo::wallpaper
