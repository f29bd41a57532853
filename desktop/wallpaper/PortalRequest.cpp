#include "PortalRequest.h"

#include <QEventLoop>
#include <QTimer>

namespace tavlo::wallpaper {
namespace {

const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");

// The portal names a request after its caller's unique bus name (":1.42"
// becomes "1_42") and the caller's token.
QString requestPath(const QDBusConnection& bus, const QString& token) {
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender + QLatin1Char('/') + token;
}

}  // namespace

PortalRequest::PortalRequest(QDBusConnection bus, const QString& token)
    : bus_(std::move(bus)), path_(requestPath(bus_, token)) {
    bus_.connect(QString(), path_, kRequestInterface, QStringLiteral("Response"), this, SLOT(onResponse(QDBusMessage)));
}

PortalRequest::~PortalRequest() {
    bus_.disconnect(QString(), path_, kRequestInterface, QStringLiteral("Response"), this,
                    SLOT(onResponse(QDBusMessage)));
}

void PortalRequest::onResponse(const QDBusMessage& message) {
    response_ = message.arguments().value(0).toUInt();
    emit answered();
}

std::optional<uint> PortalRequest::waitForResponse(std::chrono::milliseconds patience) {
    if (response_) return response_;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(this, &PortalRequest::answered, &loop, &QEventLoop::quit);
    timer.start(static_cast<int>(patience.count()));
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return response_;
}

}  // namespace tavlo::wallpaper
