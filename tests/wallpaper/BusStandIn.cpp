// A stand-in for a desktop's D-Bus service on a private session bus: it owns
// the service name, answers the calls the wallpaper backends make, and writes
// every call it receives to a file, one JSON array per line: the member, then
// each argument (a variant argument as its D-Bus signature and its value).
//
//   wallpaper_bus_standin plasma RECORD [--fail]
//   wallpaper_bus_standin xfconf RECORD [PROPERTY=VALUE...]
//
// Prints "ready" once the name is owned.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QVariantMap>

#include <cstdio>

namespace {

struct Service {
    QString name, path;
};

class Recorder : public QDBusVirtualObject {
public:
    Recorder(const QString& kind, const QString& recordPath, const QStringList& options)
        : kind_(kind), record_(recordPath), options_(options) {
        record_.open(QIODevice::WriteOnly | QIODevice::Append);
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        record(message);
        connection.send(answer(message));
        return true;
    }

private:
    void record(const QDBusMessage& message) {
        QJsonArray line{message.member()};
        for (const QVariant& argument : message.arguments()) {
            if (argument.metaType() == QMetaType::fromType<QDBusVariant>()) {
                const QVariant inner = argument.value<QDBusVariant>().variant();
                line << QString::fromLatin1(QDBusMetaType::typeToSignature(inner.metaType())) << inner.toString();
            } else {
                line << argument.toString();
            }
        }
        record_.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
        record_.flush();  // before the answer: the caller reads the file once it returns
    }

    QDBusMessage answer(const QDBusMessage& message) const {
        if (kind_ == QLatin1String("plasma") && message.member() == QLatin1String("evaluateScript")) {
            if (options_.contains(QStringLiteral("--fail")))
                return message.createErrorReply(
                    QStringLiteral("org.freedesktop.DBus.Error.Failed"),
                    QStringLiteral("Error: TypeError: desktops is not a function\nat line 1"));
            return message.createReply(QString());
        }
        if (kind_ == QLatin1String("xfconf") && message.member() == QLatin1String("GetAllProperties")) {
            if (options_.isEmpty())
                return message.createErrorReply(QStringLiteral("org.xfce.Xfconf.Error.PropertyNotFound"),
                                                QStringLiteral("Property \"/backdrop\" does not exist"));
            QVariantMap properties;
            for (const QString& option : options_)
                properties.insert(option.section(QLatin1Char('='), 0, 0), option.section(QLatin1Char('='), 1));
            return message.createReply(QVariant::fromValue(properties));
        }
        if (kind_ == QLatin1String("xfconf") && message.member() == QLatin1String("SetProperty"))
            return message.createReply();
        return message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"), message.member());
    }

    QString kind_;
    QFile record_;
    QStringList options_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 3) return 2;
    const QString kind = arguments[1];
    const Service service = kind == QLatin1String("plasma")
                                ? Service{QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell")}
                                : Service{QStringLiteral("org.xfce.Xfconf"), QStringLiteral("/org/xfce/Xfconf")};

    Recorder recorder(kind, arguments[2], arguments.mid(3));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerVirtualObject(service.path, &recorder) || !bus.registerService(service.name)) return 1;
    std::puts("ready");
    std::fflush(stdout);
    return application.exec();
}
