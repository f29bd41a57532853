#include "PortalWallpaper.h"
#include "DBusCall.h"
#include "PicturePath.h"
#include "PortalRequest.h"
#include "WallpaperTexts.h"

#include <QDBusConnection>
#include <QDBusVariant>
#include <QVariantMap>

#include <unistd.h>
#include <atomic>

namespace tavlo::wallpaper {
namespace {

const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kWallpaperInterface = QStringLiteral("org.freedesktop.portal.Wallpaper");

QString nextToken() {
    static std::atomic<int> counter{0};
    return QStringLiteral("tavlo_%1_%2").arg(::getpid()).arg(++counter);
}

}  // namespace

bool PortalWallpaper::available() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        kPortal, kPortalPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << kWallpaperInterface << QStringLiteral("version");
    // Starting the portal on demand takes a moment; a portal that cannot
    // answer within a few seconds is no help.
    constexpr int kProbeTimeoutMs = 5000;
    return bus.call(call, QDBus::Block, kProbeTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

void PortalWallpaper::SetWallpaper(const std::filesystem::path& path) {
    const QString uri = fileAddress(path);
    const QString token = nextToken();
    PortalRequest request(QDBusConnection::sessionBus(), token);

    QDBusMessage call =
        QDBusMessage::createMethodCall(kPortal, kPortalPath, kWallpaperInterface, QStringLiteral("SetWallpaperURI"));
    const QVariantMap options{{QStringLiteral("handle_token"), token},
                              {QStringLiteral("show-preview"), false},
                              {QStringLiteral("set-on"), QStringLiteral("background")}};
    call << QString() << uri << options;
    const QDBusMessage reply = callSessionBusAllowingErrors(BackendKind::Portal, call);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (isServiceMissing(reply) ||
            reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.UnknownInterface") ||
            reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod"))
            throw WallpaperError(texts::portalMissing(), "portal: " + reply.errorName().toStdString() + ": " +
                                                             reply.errorMessage().simplified().toStdString());
        throwCallError(BackendKind::Portal, call, reply);
    }
    const std::optional<uint> response = request.waitForResponse(patience_);
    if (!response) throw WallpaperError(texts::portalSilent(), "portal: no Response to SetWallpaperURI");
    if (*response == 1) throw WallpaperError(texts::portalCancelled(), "portal: the request was cancelled");
    if (*response != 0) throw WallpaperError(texts::portalFailed(), "portal: Response " + std::to_string(*response));
}

}  // namespace tavlo::wallpaper
