// The single copy's socket: a caller that sends too much or nothing is cut
// off, and the running copy goes on answering, also after it ran out of file
// descriptors for a moment.
#include "SingleInstance.h"
#include "TempFolder.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace tavlo;

namespace {

void needApplication() {
    static int argc = 1;
    static char name[] = "app_instance_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* application = new QCoreApplication(argc, argv);
    (void)application;
}

// Asks the copy to show its window, as a second start does, without blocking
// the copy (it runs in this thread).
bool asksAndIsAnswered(const QString& name) {
    QLocalSocket caller;
    caller.connectToServer(name);
    if (!caller.waitForConnected(1000)) return false;
    caller.write("show\n");
    for (int i = 0; i < 50 && !caller.canReadLine(); ++i) QTest::qWait(20);
    return caller.canReadLine() && caller.readLine() == "shown\n";
}

class FileLimit {
public:
    FileLimit() { ::getrlimit(RLIMIT_NOFILE, &saved_); }
    ~FileLimit() { ::setrlimit(RLIMIT_NOFILE, &saved_); }
    // No descriptor can be opened until the limit is restored.
    bool exhaust() {
        const int lowestFree = ::dup(0);
        if (lowestFree < 0) return false;
        ::close(lowestFree);
        rlimit limit = saved_;
        limit.rlim_cur = static_cast<rlim_t>(lowestFree);
        return ::setrlimit(RLIMIT_NOFILE, &limit) == 0;
    }
    void restore() { ::setrlimit(RLIMIT_NOFILE, &saved_); }

private:
    rlimit saved_{};
};

}  // namespace

TEST(SingleInstance, CallersThatSendTooMuchOrNothingAreCutOffAndOthersStillAnswered) {
    needApplication();
    test::TempFolder folder;
    app::SingleInstance copy(folder.path());
    ASSERT_FALSE(copy.anotherCopyRuns());
    const QString name = app::SingleInstance::socketNameFor(folder.path());
    QSignalSpy shown(&copy, &app::SingleInstance::showRequested);

    for (const bool floods : {true, false}) {
        SCOPED_TRACE(floods ? "a line without end" : "nothing at all");
        QLocalSocket caller;
        caller.connectToServer(name);
        ASSERT_TRUE(caller.waitForConnected(1000));
        QSignalSpy cut(&caller, &QLocalSocket::disconnected);
        qint64 written = 0;
        QObject::connect(&caller, &QLocalSocket::bytesWritten, [&written](qint64 bytes) { written += bytes; });
        const QByteArray flood(32 * 1024 * 1024, 'x');
        if (floods) caller.write(flood);
        EXPECT_TRUE(cut.wait(10000));
        // Cut off once it had sent more than a line, not after taking it all in.
        if (floods) {
            EXPECT_LT(written, flood.size());
        }
    }
    EXPECT_TRUE(asksAndIsAnswered(name));
    EXPECT_EQ(shown.count(), 1);
}

TEST(SingleInstance, ACopyThatRanOutOfFileDescriptorsListensAgain) {
    needApplication();
    test::TempFolder folder;
    app::SingleInstance copy(folder.path());
    const QString name = app::SingleInstance::socketNameFor(folder.path());
    ASSERT_TRUE(asksAndIsAnswered(name));
    {
        FileLimit limit;
        QLocalSocket caller;
        caller.connectToServer(name);
        ASSERT_TRUE(caller.waitForConnected(1000));
        ASSERT_TRUE(limit.exhaust());
        // The copy's accept fails for want of a descriptor.
        QTest::qWait(200);
        limit.restore();
    }
    bool answered = false;
    for (int i = 0; i < 20 && !answered; ++i) answered = asksAndIsAnswered(name) || (QTest::qWait(500), false);
    EXPECT_TRUE(answered);
}
