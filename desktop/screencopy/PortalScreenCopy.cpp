#include "PortalScreenCopy.h"

#include "Picture.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <optional>

namespace tavlo::screencopy {
namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");

// Receives the Response signal of one request and ends the wait for it.
class ResponseWaiter : public QObject {
    Q_OBJECT
public:
    explicit ResponseWaiter(QEventLoop& loop) : loop_(loop) {}

    std::optional<uint> code;
    QVariantMap results;

public slots:
    void Response(uint response, const QVariantMap& values) {
        code = response;
        results = values;
        loop_.quit();
    }

private:
    QEventLoop& loop_;
};

// The request object the portal will make for this token: the caller's
// unique bus name without its colon and with dots as underscores.
QString requestPath(const QDBusConnection& bus, const QString& token) {
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return kPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

QString nextToken() {
    static std::atomic<int> counter{0};
    return QStringLiteral("tavlo_capture_%1").arg(++counter);
}

bool listen(QDBusConnection& bus, const QString& path, ResponseWaiter& waiter) {
    // Any sender: the signal comes from the portal's unique name, and the
    // request path is ours alone.
    return bus.connect(QString(), path, kRequestInterface, QStringLiteral("Response"), &waiter,
                       SLOT(Response(uint, QVariantMap)));
}

// The picture file the portal wrote; removed whatever happens to it here.
ScreenPicture readAndRemove(const std::filesystem::path& file) {
    struct Remover {
        const std::filesystem::path& file;
        ~Remover() {
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
        }
    } remover{file};
    imaging::Bitmap bitmap;
    try {
        bitmap = imaging::toBgr24(imaging::loadPicture(file));
    } catch (const std::exception& error) {
        throw ScreenCopyError(std::string("portal: the screenshot could not be read: ") + error.what(),
                              ScreenCopyCause::ServiceFailed);
    }
    ScreenPicture picture = blackPicture(bitmap.width(), bitmap.height());
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* bgr = bitmap.row(y);
        std::uint32_t* target = picture.pixels.data() + static_cast<std::ptrdiff_t>(y) * picture.width;
        for (int x = 0; x < bitmap.width(); ++x, bgr += 3)
            target[x] = 0xFF000000u | std::uint32_t{bgr[2]} << 16 | std::uint32_t{bgr[1]} << 8 | bgr[0];
    }
    return picture;
}

bool oneOf(const QString& name, std::initializer_list<const char*> names) {
    for (const char* candidate : names)
        if (name == QLatin1String(candidate)) return true;
    return false;
}

}  // namespace

ScreenCopyError portalCallError(const QString& name, const QString& message, const std::vector<std::string>& backend) {
    const std::string detail =
        "portal: Screenshot failed: " + name.toStdString() + ": " + message.simplified().toStdString();
    if (oneOf(name, {"org.freedesktop.DBus.Error.ServiceUnknown", "org.freedesktop.DBus.Error.NameHasNoOwner"})) {
        std::vector<std::string> packages{"xdg-desktop-portal"};
        packages.insert(packages.end(), backend.begin(), backend.end());
        return ScreenCopyError(detail, ScreenCopyCause::NoPortal, packages);
    }
    if (oneOf(name, {"org.freedesktop.DBus.Error.UnknownMethod", "org.freedesktop.DBus.Error.UnknownInterface",
                     "org.freedesktop.DBus.Error.UnknownObject"}))
        return ScreenCopyError(detail, ScreenCopyCause::NoScreenshotService, backend);
    if (oneOf(name, {"org.freedesktop.DBus.Error.NoReply", "org.freedesktop.DBus.Error.Timeout"}))
        return ScreenCopyError(detail, ScreenCopyCause::NoAnswer);
    if (name.startsWith(QLatin1String("org.freedesktop.DBus.Error.Spawn")))
        return ScreenCopyError(detail, ScreenCopyCause::ServiceFailed, backend);
    return ScreenCopyError(detail, ScreenCopyCause::Refused);
}

std::vector<std::string> portalBackendPackages(std::string_view desktops) {
    // XDG_CURRENT_DESKTOP: names separated by colons, most specific first.
    for (std::size_t start = 0; start <= desktops.size();) {
        const std::size_t end = std::min(desktops.find(':', start), desktops.size());
        std::string name(desktops.substr(start, end - start));
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        if (name == "gnome" || name == "unity" || name == "budgie" || name == "pantheon")
            return {"xdg-desktop-portal-gnome"};
        if (name == "kde") return {"xdg-desktop-portal-kde"};
        start = end + 1;
    }
    // The wlroots compositors (sway and its kin) and others without a
    // backend of their own: the wlroots backend takes the picture, the GTK
    // one brings the Access interface without which the portal offers no
    // screenshots.
    return {"xdg-desktop-portal-wlr", "xdg-desktop-portal-gtk"};
}

ScreenPicture PortalScreenCopy::CopyScreen(int width, int height) {
    blackPicture(width, height);  // rejects an impossible size before asking anyone
    return cropFromOrigin(screenshot(), width, height);
}

ScreenStill PortalScreenCopy::copyPrimaryScreen(const ScreenLayout& layout) {
    return primaryScreenOfDesktop(screenshot(), layout);
}

ScreenPicture PortalScreenCopy::screenshot() {
    const std::vector<std::string> backend = portalBackendPackages(desktops_);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) throw ScreenCopyError("portal: cannot reach the session D-Bus", ScreenCopyCause::NoPortal);

    QEventLoop loop;
    ResponseWaiter waiter(loop);
    const QString token = nextToken();
    // Listen before asking, so that a quick answer is not missed.
    const QString expected = requestPath(bus, token);
    if (!listen(bus, expected, waiter)) throw ScreenCopyError("portal: cannot listen for the answer");

    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"));
    const QVariantMap options{{QStringLiteral("handle_token"), token},
                              {QStringLiteral("modal"), false},
                              {QStringLiteral("interactive"), false}};
    call << QString() << options;
    const QDBusMessage reply = bus.call(call, QDBus::Block, static_cast<int>(timeout_.count()));
    if (reply.type() == QDBusMessage::ErrorMessage)
        throw portalCallError(reply.errorName(), reply.errorMessage(), backend);
    // Older portals choose the request path themselves.
    const QString handle = reply.arguments().value(0).value<QDBusObjectPath>().path();
    if (!handle.isEmpty() && handle != expected) listen(bus, handle, waiter);

    if (!waiter.code) {
        QTimer::singleShot(timeout_, &loop, &QEventLoop::quit);
        // The user's clicks and keys wait until the screen has been copied.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!waiter.code) throw ScreenCopyError("portal: no answer to the screenshot request", ScreenCopyCause::NoAnswer);
    if (*waiter.code == 1) throw ScreenCopyError("portal: the screenshot was cancelled", ScreenCopyCause::Cancelled);
    // The backend failed (the wlroots one, for one, when it cannot take the
    // picture): the service is there but does not work.
    if (*waiter.code != 0)
        throw ScreenCopyError("portal: the screenshot failed (response " + std::to_string(*waiter.code) + ")",
                              ScreenCopyCause::ServiceFailed, backend);
    const QUrl uri(waiter.results.value(QStringLiteral("uri")).toString());
    if (!uri.isLocalFile())
        throw ScreenCopyError("portal: the answer names no picture file", ScreenCopyCause::ServiceFailed);
    return readAndRemove(uri.toLocalFile().toStdString());
}

}  // namespace tavlo::screencopy

#include "PortalScreenCopy.moc"
