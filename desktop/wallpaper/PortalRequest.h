#pragma once
#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QVariantMap>

#include <chrono>
#include <optional>

namespace tavlo::wallpaper {

// One request of the desktop portal: listens for its Response on the object
// path the portal will use for `token` before the request is sent, so that
// no answer can come too early to be heard.
class PortalRequest : public QObject {
    Q_OBJECT
public:
    PortalRequest(QDBusConnection bus, const QString& token);
    ~PortalRequest() override;

    // The response code (0 done, 1 cancelled, 2 failed), or nullopt when
    // none comes within `patience`.
    std::optional<uint> waitForResponse(std::chrono::milliseconds patience);

signals:
    void answered();

private slots:
    void onResponse(const QDBusMessage& message);

private:
    QDBusConnection bus_;
    QString path_;
    std::optional<uint> response_;
};

}  // namespace tavlo::wallpaper
