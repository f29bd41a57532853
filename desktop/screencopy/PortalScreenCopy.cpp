#include "PortalScreenCopy.h"

#include "Picture.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QObject>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <filesystem>
#include <utility>

namespace tavlo::screencopy {
namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");

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

// One Screenshot request. It listens for its Response before it asks, and
// ends the grab with the first of: the Response, an error answer to the
// call, or the time running out. It removes itself when it has ended.
class PortalRequest : public QObject {
    Q_OBJECT
public:
    PortalRequest(QObject* owner, QDBusConnection bus, const ScreenLayout& layout, std::vector<std::string> backend,
                  ScreenCopy::Taken taken, ScreenCopy::Failed failed)
        : QObject(owner), bus_(std::move(bus)), layout_(layout), backend_(std::move(backend)), taken_(std::move(taken)),
          failed_(std::move(failed)) {}

    void ask(std::chrono::milliseconds timeout);

public slots:
    void Response(uint response, const QVariantMap& results);

private:
    bool listen(const QString& path);
    void answered(const QDBusMessage& reply, const QString& expected, std::chrono::milliseconds timeout);
    void fail(ScreenCopyError error);
    bool end();

    QDBusConnection bus_;
    ScreenLayout layout_;
    std::vector<std::string> backend_;
    ScreenCopy::Taken taken_;
    ScreenCopy::Failed failed_;
    bool ended_ = false;
};

bool PortalRequest::listen(const QString& path) {
    // Any sender: the signal comes from the portal's unique name, and the
    // request path is ours alone.
    return bus_.connect(QString(), path, kRequestInterface, QStringLiteral("Response"), this,
                        SLOT(Response(uint, QVariantMap)));
}

void PortalRequest::ask(std::chrono::milliseconds timeout) {
    const QString token = nextToken();
    // Listen before asking, so that a quick answer is not missed.
    const QString expected = requestPath(bus_, token);
    if (!listen(expected)) return fail(ScreenCopyError("portal: cannot listen for the answer"));

    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"));
    const QVariantMap options{{QStringLiteral("handle_token"), token},
                              {QStringLiteral("modal"), false},
                              {QStringLiteral("interactive"), false}};
    call << QString() << options;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, static_cast<int>(timeout.count())), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, expected, timeout](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        answered(w->reply(), expected, timeout);
    });
}

void PortalRequest::answered(const QDBusMessage& reply, const QString& expected, std::chrono::milliseconds timeout) {
    if (ended_) return;  // the Response came first
    if (reply.type() == QDBusMessage::ErrorMessage)
        return fail(portalCallError(reply.errorName(), reply.errorMessage(), backend_));
    // Older portals choose the request path themselves.
    const QString handle = reply.arguments().value(0).value<QDBusObjectPath>().path();
    if (!handle.isEmpty() && handle != expected) listen(handle);
    QTimer::singleShot(timeout, this, [this] {
        fail(ScreenCopyError("portal: no answer to the screenshot request", ScreenCopyCause::NoAnswer));
    });
}

void PortalRequest::Response(uint response, const QVariantMap& results) {
    if (ended_) return;
    if (response == 1) return fail(ScreenCopyError("portal: the screenshot was cancelled", ScreenCopyCause::Cancelled));
    // The backend failed (the wlroots one, for one, when it cannot take the
    // picture): the service is there but does not work.
    if (response != 0)
        return fail(ScreenCopyError("portal: the screenshot failed (response " + std::to_string(response) + ")",
                                    ScreenCopyCause::ServiceFailed, backend_));
    const QUrl uri(results.value(QStringLiteral("uri")).toString());
    if (!uri.isLocalFile())
        return fail(ScreenCopyError("portal: the answer names no picture file", ScreenCopyCause::ServiceFailed));
    ScreenStill still;
    try {
        still = primaryScreenOfDesktop(readAndRemove(uri.toLocalFile().toStdString()), layout_);
    } catch (const ScreenCopyError& error) {
        return fail(error);
    }
    if (end()) taken_(std::move(still));
}

void PortalRequest::fail(ScreenCopyError error) {
    if (end()) failed_(std::move(error));
}

// True the first time only: a grab ends once.
bool PortalRequest::end() {
    if (ended_) return false;
    ended_ = true;
    deleteLater();
    return true;
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

PortalScreenCopy::PortalScreenCopy(std::chrono::milliseconds timeout, std::string desktops)
    : timeout_(timeout), desktops_(std::move(desktops)), requests_(std::make_unique<QObject>()) {}

PortalScreenCopy::~PortalScreenCopy() = default;

void PortalScreenCopy::grab(const ScreenLayout& layout, Taken taken, Failed failed) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return failed(ScreenCopyError("portal: cannot reach the session D-Bus", ScreenCopyCause::NoPortal));
    auto* request = new PortalRequest(requests_.get(), bus, layout, portalBackendPackages(desktops_), std::move(taken),
                                      std::move(failed));
    request->ask(timeout_);
}

}  // namespace tavlo::screencopy

#include "PortalScreenCopy.moc"
