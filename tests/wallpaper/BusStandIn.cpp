// A stand-in for a desktop's D-Bus service on a private session bus: it owns
// the service name, answers the calls the wallpaper backends make, and writes
// every call it receives to a file, one JSON array per line: the member, then
// each argument (a variant argument as its D-Bus signature and its value).
//
//   wallpaper_bus_standin plasma RECORD [--fail | --locked]
//   wallpaper_bus_standin xfconf RECORD [PROPERTY=VALUE...]
//   wallpaper_bus_standin deepin|deepin-old RECORD [MONITOR=on|off...]
//
// The deepin kinds own the appearance and display services of the newer
// (org.deepin.dde.*1) or the older (com.deepin.daemon.*) names; the display
// service lists the monitors given, each switched on or off.
// Prints "ready" once the name is owned.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
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

// The services of each kind: the first also names the interface of the
// deepin kinds' appearance service, the second their display service.
QList<Service> servicesOf(const QString& kind) {
    if (kind == QLatin1String("plasma"))
        return {{QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell")}};
    if (kind == QLatin1String("xfconf"))
        return {{QStringLiteral("org.xfce.Xfconf"), QStringLiteral("/org/xfce/Xfconf")}};
    if (kind == QLatin1String("deepin"))
        return {{QStringLiteral("org.deepin.dde.Appearance1"), QStringLiteral("/org/deepin/dde/Appearance1")},
                {QStringLiteral("org.deepin.dde.Display1"), QStringLiteral("/org/deepin/dde/Display1")}};
    return {{QStringLiteral("com.deepin.daemon.Appearance"), QStringLiteral("/com/deepin/daemon/Appearance")},
            {QStringLiteral("com.deepin.daemon.Display"), QStringLiteral("/com/deepin/daemon/Display")}};
}

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

    // The display service's monitors: its own path lists them, each one's
    // path under it has a name and a switch.
    QDBusMessage deepinProperty(const QDBusMessage& message) const {
        const QString property = message.arguments().value(1).toString();
        const QString path = message.path();
        const QString display = servicesOf(kind_)[1].path;
        if (path == display && property == QLatin1String("Monitors")) {
            QList<QDBusObjectPath> monitors;
            for (int i = 0; i < options_.size(); ++i)
                monitors << QDBusObjectPath(display + QStringLiteral("/Monitor_") + QString::number(i + 1));
            return message.createReply(QVariant::fromValue(QDBusVariant(QVariant::fromValue(monitors))));
        }
        const int index = path.section(QLatin1Char('_'), -1).toInt() - 1;
        if (path.startsWith(display + QStringLiteral("/Monitor_")) && index >= 0 && index < options_.size()) {
            const QString option = options_[index];
            if (property == QLatin1String("Name"))
                return message.createReply(QVariant::fromValue(QDBusVariant(option.section(QLatin1Char('='), 0, 0))));
            if (property == QLatin1String("Enabled"))
                return message.createReply(
                    QVariant::fromValue(QDBusVariant(option.section(QLatin1Char('='), 1) == QLatin1String("on"))));
        }
        return message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty"), property);
    }

    QDBusMessage answer(const QDBusMessage& message) const {
        if (kind_.startsWith(QLatin1String("deepin"))) {
            if (message.member() == QLatin1String("Get")) return deepinProperty(message);
            if (message.member() == QLatin1String("SetMonitorBackground")) return message.createReply();
        }
        if (kind_ == QLatin1String("plasma") && message.member() == QLatin1String("evaluateScript")) {
            if (options_.contains(QStringLiteral("--locked")))
                return message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.Failed"),
                                                QStringLiteral("Widgets are locked"));
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
    Recorder recorder(kind, arguments[2], arguments.mid(3));
    QDBusConnection bus = QDBusConnection::sessionBus();
    for (const Service& service : servicesOf(kind))
        if (!bus.registerVirtualObject(service.path, &recorder, QDBusConnection::SubPath) ||
            !bus.registerService(service.name))
            return 1;
    std::puts("ready");
    std::fflush(stdout);
    return application.exec();
}
