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

#include <atomic>
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
        throw ScreenCopyError(std::string("portal: the screenshot could not be read: ") + error.what());
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

}  // namespace

ScreenPicture PortalScreenCopy::CopyScreen(int width, int height) {
    blackPicture(width, height);  // rejects an impossible size before asking anyone
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) throw ScreenCopyError("portal: cannot reach the session D-Bus");

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
        throw ScreenCopyError("portal: Screenshot failed: " + reply.errorMessage().simplified().toStdString());
    // Older portals choose the request path themselves.
    const QString handle = reply.arguments().value(0).value<QDBusObjectPath>().path();
    if (!handle.isEmpty() && handle != expected) listen(bus, handle, waiter);

    if (!waiter.code) {
        QTimer::singleShot(timeout_, &loop, &QEventLoop::quit);
        // The user's clicks and keys wait until the screen has been copied.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!waiter.code) throw ScreenCopyError("portal: no answer to the screenshot request");
    if (*waiter.code != 0)
        throw ScreenCopyError(*waiter.code == 1 ? "portal: the screenshot was cancelled"
                                                : "portal: the screenshot was refused");
    const QUrl uri(waiter.results.value(QStringLiteral("uri")).toString());
    if (!uri.isLocalFile()) throw ScreenCopyError("portal: the answer names no picture file");
    return cropFromOrigin(readAndRemove(uri.toLocalFile().toStdString()), width, height);
}

}  // namespace tavlo::screencopy

#include "PortalScreenCopy.moc"
