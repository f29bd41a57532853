#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QWidget>

namespace tavlo::app {

namespace {

Q_LOGGING_CATEGORY(lcInstance, "tavlo.instance")

// One line each way: the request, and the running copy's answer once it has
// acted on it.
constexpr char kShowRequest[] = "show\n";
constexpr char kShownAnswer[] = "shown\n";
constexpr int kAnswerWaitMs = 200;
constexpr unsigned long kRetryPauseMs = 50;
// What a caller may send: one short line, soon. Anything longer or slower is
// not a copy of the program, and is cut off before it costs memory or a
// descriptor for long.
constexpr qint64 kLongestRequest = 64;
constexpr int kRequestTimeoutMs = 2000;
// The toolkit stops listening for good when accepting a connection fails
// (out of file descriptors): how often the server is looked at and made to
// listen again.
constexpr int kListeningCheckMs = 2000;

}  // namespace

QString SingleInstance::socketNameFor(const std::filesystem::path& folder) {
    // The same folder however it was reached: through links, or with a
    // trailing separator.
    std::error_code error;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(folder, error);
    if (error) canonical = folder;
    const std::u8string path = canonical.lexically_normal().u8string();
    const QByteArray digest =
        QCryptographicHash::hash(QByteArrayView(reinterpret_cast<const char*>(path.data()), qsizetype(path.size())),
                                 QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    // The user's runtime folder is theirs alone: no one else can take the name.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
        .filePath(QStringLiteral("tavlo-%1.socket").arg(QString::fromLatin1(digest)));
}

SingleInstance::SingleInstance(const std::filesystem::path& folder, QObject* parent)
    : QObject(parent), socketName_(socketNameFor(folder)), lock_(folder) {
    if (lock_.state() == ProgramFolderLock::State::Unavailable)
        qCWarning(lcInstance) << "the program folder cannot be locked; a second copy would not be noticed";
    if (anotherCopyRuns()) return;
    server_ = new QLocalServer(this);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::answer);
    auto* watch = new QTimer(this);
    connect(watch, &QTimer::timeout, this, [this] {
        if (!server_->isListening()) listen();
    });
    watch->start(kListeningCheckMs);
    listen();
}

SingleInstance::~SingleInstance() = default;

void SingleInstance::listen() {
    // Whatever is at the name is a killed copy's: the lock says no copy runs.
    // (The runtime folder is the user's own, so the socket needs no rights
    // of its own.)
    QLocalServer::removeServer(socketName_);
    if (!server_->listen(socketName_))
        qCWarning(lcInstance) << "cannot listen on" << socketName_ << ":" << server_->errorString();
}

void SingleInstance::answer() {
    while (QLocalSocket* caller = server_->nextPendingConnection()) {
        connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
        caller->setReadBufferSize(kLongestRequest);
        QTimer::singleShot(kRequestTimeoutMs, caller, [caller] {
            caller->abort();
            caller->deleteLater();
        });
        connect(caller, &QLocalSocket::readyRead, this, [this, caller] {
            if (!caller->canReadLine()) {
                if (caller->bytesAvailable() >= kLongestRequest) {
                    caller->abort();
                    caller->deleteLater();
                }
                return;
            }
            if (caller->readLine(kLongestRequest + 1) == kShowRequest) {
                emit showRequested();
                caller->write(kShownAnswer);
                caller->flush();
            }
            caller->disconnectFromServer();
        });
    }
}

bool SingleInstance::handOver(std::chrono::milliseconds patience) const {
    QElapsedTimer waited;
    waited.start();
    // The running copy may have taken the lock a moment ago and not be
    // listening yet, or be busy starting: it is asked until it answers.
    do {
        QLocalSocket socket;
        socket.connectToServer(socketName_);
        if (socket.waitForConnected(kAnswerWaitMs)) {
            socket.write(kShowRequest);
            socket.flush();
            while (!socket.canReadLine() && waited.elapsed() < patience.count() &&
                   socket.state() == QLocalSocket::ConnectedState)
                socket.waitForReadyRead(kAnswerWaitMs);
            if (socket.canReadLine() && socket.readLine() == kShownAnswer) return true;
        } else {
            QThread::msleep(kRetryPauseMs);
        }
    } while (waited.elapsed() < patience.count());
    qCWarning(lcInstance) << "another copy runs on this program folder but did not answer on" << socketName_;
    return false;
}

void bringToFront(QWidget& window) {
    if (window.isHidden()) return;
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace tavlo::app
