#include "SwayPlacement.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QTimer>
#include <QWidget>
#include <QtEndian>

#include <cstdlib>
#include <cstring>

namespace tavlo::app {
namespace {

Q_LOGGING_CATEGORY(placementLog, "tavlo.placement")

// The i3 IPC that sway speaks: "i3-ipc", the payload's length and the
// message type (both 32-bit, native order), the payload.
constexpr char kMagic[] = "i3-ipc";
constexpr int kMagicSize = 6;
constexpr int kHeaderSize = kMagicSize + 8;
constexpr quint32 kRunCommand = 0, kSubscribe = 2, kGetTree = 4;
constexpr quint32 kWindowEvent = 0x80000003u;
constexpr int kWaitMs = 2000;
// How long a shown window is waited for before the place is given up.
constexpr int kRestoreMs = 10000;

QByteArray frame(quint32 type, const QByteArray& payload) {
    QByteArray bytes(kMagic, kMagicSize);
    const quint32 header[2] = {static_cast<quint32>(payload.size()), type};
    bytes.append(reinterpret_cast<const char*>(header), sizeof header);
    return bytes + payload;
}

// One whole message at the front of `buffer`, taken off it: its type and payload.
std::optional<std::pair<quint32, QByteArray>> takeMessage(QByteArray& buffer) {
    if (buffer.size() < kHeaderSize) return std::nullopt;
    quint32 header[2];
    std::memcpy(header, buffer.constData() + kMagicSize, sizeof header);
    if (buffer.size() < kHeaderSize + static_cast<qsizetype>(header[0])) return std::nullopt;
    QByteArray payload = buffer.mid(kHeaderSize, header[0]);
    buffer.remove(0, kHeaderSize + header[0]);
    return std::make_pair(header[1], payload);
}

// The container of `tree` (a window) owned by `pid` and titled `title`.
std::optional<QJsonObject> findIn(const QJsonObject& node, qint64 pid, const QString& title) {
    if (node.value(QStringLiteral("pid")).toInteger(-1) == pid &&
        node.value(QStringLiteral("name")).toString() == title)
        return node;
    for (const char* children : {"nodes", "floating_nodes"})
        for (const QJsonValue& child : node.value(QLatin1String(children)).toArray())
            if (auto found = findIn(child.toObject(), pid, title)) return found;
    return std::nullopt;
}

}  // namespace

SwayPlacement::SwayPlacement(QString socketPath, qint64 pid, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)), pid_(pid) {
    connect(&events_, &QLocalSocket::readyRead, this, &SwayPlacement::readEvents);
}

std::optional<QJsonObject> SwayPlacement::request(quint32 type, const QByteArray& payload) const {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kWaitMs)) {
        qCWarning(placementLog, "cannot reach sway at %s", qPrintable(socketPath_));
        return std::nullopt;
    }
    socket.write(frame(type, payload));
    QByteArray received;
    while (socket.waitForReadyRead(kWaitMs)) {
        received += socket.readAll();
        if (auto message = takeMessage(received)) {
            const QJsonDocument reply = QJsonDocument::fromJson(message->second);
            // run_command answers with an array of results: the first one counts.
            return reply.isArray() ? reply.array().first().toObject() : reply.object();
        }
    }
    qCWarning(placementLog, "sway did not answer request %u", type);
    return std::nullopt;
}

std::optional<QJsonObject> SwayPlacement::findWindow(const QString& title) const {
    const auto tree = request(kGetTree, {});
    return tree ? findIn(*tree, pid_, title) : std::nullopt;
}

void SwayPlacement::remember(const QWidget& window) {
    place_.reset();
    title_ = window.windowTitle();
    const auto found = findWindow(title_);
    if (!found || found->value(QStringLiteral("type")).toString() != QLatin1String("floating_con")) return;
    const QJsonObject rect = found->value(QStringLiteral("rect")).toObject();
    place_ = QPoint(rect.value(QStringLiteral("x")).toInt(), rect.value(QStringLiteral("y")).toInt());
}

void SwayPlacement::restore(const QWidget&) {
    if (!place_) return;
    stopListening();
    events_.connectToServer(socketPath_);
    if (!events_.waitForConnected(kWaitMs)) return;
    events_.write(frame(kSubscribe, QByteArrayLiteral("[\"window\"]")));
    // Listening from here on: a window sway shows already is moved at once.
    if (!events_.waitForBytesWritten(kWaitMs)) return;
    QTimer::singleShot(kRestoreMs, this, &SwayPlacement::stopListening);
}

void SwayPlacement::readEvents() {
    received_ += events_.readAll();
    while (auto message = takeMessage(received_)) {
        const QJsonObject body = QJsonDocument::fromJson(message->second).object();
        if (message->first == kSubscribe) {
            if (const auto shown = findWindow(title_)) moveBack(shown->value(QStringLiteral("id")).toInteger());
            continue;
        }
        if (message->first != kWindowEvent) continue;
        const QJsonObject container = body.value(QStringLiteral("container")).toObject();
        const QString change = body.value(QStringLiteral("change")).toString();
        if ((change == QLatin1String("new") || change == QLatin1String("title")) && findIn(container, pid_, title_))
            moveBack(container.value(QStringLiteral("id")).toInteger());
    }
}

void SwayPlacement::moveBack(qint64 conId) {
    if (!place_ || !events_.isOpen()) return;
    const QByteArray command = QStringLiteral("[con_id=%1] move absolute position %2 %3")
                                   .arg(conId)
                                   .arg(place_->x())
                                   .arg(place_->y())
                                   .toUtf8();
    const auto result = request(kRunCommand, command);
    if (!result || !result->value(QStringLiteral("success")).toBool())
        qCWarning(placementLog, "sway did not move the window back: %s", command.constData());
    stopListening();
}

void SwayPlacement::stopListening() {
    if (events_.state() != QLocalSocket::UnconnectedState) events_.abort();
    received_.clear();
}

namespace {
class NoPlacement : public WindowPlacement {
public:
    void remember(const QWidget&) override {}
    void restore(const QWidget&) override {}
};
}  // namespace

std::unique_ptr<WindowPlacement> createSessionPlacement() {
    const char* sway = std::getenv("SWAYSOCK");
    if (sway && *sway)
        return std::make_unique<SwayPlacement>(QString::fromLocal8Bit(sway), QCoreApplication::applicationPid());
    return std::make_unique<NoPlacement>();
}

}  // namespace tavlo::app
