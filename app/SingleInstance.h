#pragma once
#include "ProgramFolderLock.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <filesystem>
#include <memory>

class QLocalServer;

namespace tavlo::app {

// One copy of the program per program folder: two copies would write the
// same settings, lists and notes, and the last to close would win. The first
// copy holds the folder's lock and listens on a local socket named after the
// folder; a later start finds the lock taken, asks the running copy through
// the socket to show its main window, and ends. The system lets go of the
// lock of a copy that was killed, and the next copy takes over the socket it
// left behind.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const std::filesystem::path& folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Whether another copy runs on this folder: then this one only hands
    // over and ends.
    bool anotherCopyRuns() const { return lock_.state() == ProgramFolderLock::State::HeldElsewhere; }

    // Asks the running copy to show its main window and waits for its answer,
    // at most `patience` (it may still be starting); false when it could not
    // be reached.
    bool handOver(std::chrono::milliseconds patience) const;

    // The socket's full name: in the user's runtime folder, named after the
    // program folder.
    static QString socketNameFor(const std::filesystem::path& folder);

signals:
    // A later start asked this copy to show its main window.
    void showRequested();

private:
    void listen();
    void answer();

    QString socketName_;
    ProgramFolderLock lock_;
    QLocalServer* server_ = nullptr;
};

// Shows the main window again, restored if it was minimised, in front and
// with the keyboard; a window the program hid on purpose (while a capture
// runs) comes back by itself.
void bringToFront(QWidget& window);

}  // namespace tavlo::app
