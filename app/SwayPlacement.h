#pragma once
#include "WindowPlacement.h"

#include <QJsonObject>
#include <QLocalSocket>
#include <QObject>
#include <QPoint>
#include <QString>

#include <memory>
#include <optional>

namespace tavlo::app {

// Asks sway, over its IPC socket, where the program's window titled as the
// window is, and after the window is shown again, to move it back there:
// as soon as sway announces the new window, or at once if it is already
// there when the announcements are being listened to.
class SwayPlacement : public QObject, public WindowPlacement {
    Q_OBJECT
public:
    // `socketPath` is $SWAYSOCK; `pid` the program's process id.
    SwayPlacement(QString socketPath, qint64 pid, QObject* parent = nullptr);

    void remember(const QWidget& window) override;
    void restore(const QWidget& window) override;

private:
    std::optional<QJsonObject> request(quint32 type, const QByteArray& payload) const;
    std::optional<QJsonObject> findWindow(const QString& title) const;
    void moveBack(qint64 conId);
    void readEvents();
    void stopListening();

    QString socketPath_;
    qint64 pid_;
    QString title_;
    std::optional<QPoint> place_;
    QLocalSocket events_;
    QByteArray received_;
};

// The session's placement: sway's IPC under sway; elsewhere nothing to do (an
// X11 window manager keeps the place a window had).
std::unique_ptr<WindowPlacement> createSessionPlacement();

}  // namespace tavlo::app
