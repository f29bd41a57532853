// A stand-in for the desktop portal's Screenshot interface on a private
// session bus. It owns org.freedesktop.portal.Desktop, answers Screenshot
// with the request object's path and then sends that object's Response
// signal, as the portal does. Each call is written to RECORD as one line:
// parent window, handle token, modal, interactive, picture file handed out.
//
//   capture_portal_standin ok PICTURE RECORD       copies PICTURE and names the copy
//   capture_portal_standin refuse PICTURE RECORD   answers with response 2
//   capture_portal_standin silent PICTURE RECORD   never sends the Response signal
//   capture_portal_standin error PICTURE RECORD    the call itself fails
//   capture_portal_standin bare PICTURE RECORD     offers no Screenshot interface at all
//
// Prints "ready" once the name is owned.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>

#include <cstdio>

namespace {

class Portal : public QDBusVirtualObject {
public:
    Portal(QString mode, QString picture, QString record)
        : mode_(std::move(mode)), picture_(std::move(picture)), record_(std::move(record)) {}

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (mode_ == QLatin1String("bare") ||
            message.interface() != QLatin1String("org.freedesktop.portal.Screenshot") ||
            message.member() != QLatin1String("Screenshot")) {
            connection.send(
                message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"), message.member()));
            return true;
        }
        const auto options = qdbus_cast<QVariantMap>(message.arguments().value(1));
        const QString token = options.value(QStringLiteral("handle_token")).toString();
        QString sender = message.service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString request =
            QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender + QLatin1Char('/') + token;

        QString handedOut;
        if (mode_ == QLatin1String("ok")) {
            handedOut = QFileInfo(record_).absolutePath() + QStringLiteral("/Screenshot from the stand-in.png");
            QFile::remove(handedOut);
            QFile::copy(picture_, handedOut);
        }
        QFile record(record_);
        record.open(QIODevice::WriteOnly | QIODevice::Append);
        record.write((message.arguments().value(0).toString() + QLatin1Char('\t') + token + QLatin1Char('\t') +
                      options.value(QStringLiteral("modal")).toString() + QLatin1Char('\t') +
                      options.value(QStringLiteral("interactive")).toString() + QLatin1Char('\t') + handedOut +
                      QLatin1Char('\n'))
                         .toUtf8());
        record.close();

        if (mode_ == QLatin1String("error")) {
            connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotAllowed"),
                                                     QStringLiteral("Screenshots are not allowed")));
            return true;
        }
        connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        if (mode_ == QLatin1String("silent")) return true;

        QDBusMessage response = QDBusMessage::createTargetedSignal(
            message.service(), request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        QVariantMap results;
        if (!handedOut.isEmpty()) results.insert(QStringLiteral("uri"), QUrl::fromLocalFile(handedOut).toString());
        response << uint(mode_ == QLatin1String("ok") ? 0 : 2) << results;
        connection.send(response);
        return true;
    }

private:
    QString mode_, picture_, record_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 4) return 2;
    Portal portal(arguments[1], arguments[2], arguments[3]);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerVirtualObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal) ||
        !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")))
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    return application.exec();
}
