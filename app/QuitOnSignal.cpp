#include "QuitOnSignal.h"

#ifndef _WIN32
#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <csignal>

namespace tavlo::app {

namespace {

// The handler may only do what is safe inside a signal: it writes one byte,
// and the event loop reads it and quits.
int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}

}  // namespace

void quitOnTerminationSignals() {
    if (signalPipe[0] >= 0) return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char bytes[16];
        while (::read(signalPipe[1], bytes, sizeof bytes) > 0) {}
        QCoreApplication::exit(0);
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

}  // namespace tavlo::app

#else

namespace tavlo::app {

// Windows ends a program's session through window messages, which the
// toolkit turns into the same orderly exit.
void quitOnTerminationSignals() {}

}  // namespace tavlo::app

#endif
