// The database file under stress: damaged or unreachable files, a crash in
// the middle of saving, and a second copy of the program at the same time.
#include "NoteStore.h"
#include "NotesError.h"
#include "NotesFixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::notes;

TEST(NotesDatabase, AFileThatIsNoDatabaseFailsEveryUseAndIsNeverTouched) {
    const auto validHeaderThenJunk = [] {
        std::string bytes("SQLite format 3\0", 16);
        bytes += std::string("\x10\x00\x01\x01\x00\x40\x20\x20", 8);
        bytes += std::string(4096 * 3, '\xA5');
        return bytes;
    };
    const std::vector<std::pair<const char*, std::string>> files = {
        {"text", "这不是数据库，是一段文字。\r\n"},
        {"a picture's header", std::string("\x89PNG\r\n\x1a\n", 8) + std::string(2000, '\0')},
        {"a database header over junk pages", validHeaderThenJunk()},
    };
    for (const auto& [what, bytes] : files) {
        SCOPED_TRACE(what);
        test::NotesFixture f;
        test::writeFileBytes(f.databaseFile(), bytes);
        EXPECT_THROW(readWeekPage(*f.dm, 1), NotesError);
        EXPECT_THROW(readDayNote(*f.dm, QDate(2010, 6, 1)), NotesError);
        EXPECT_THROW(writeDayNote(*f.dm, QDate(2010, 6, 1), "x"), NotesError);
        EXPECT_THROW(writeWeekPage(*f.dm, 1, WeekTexts{}), NotesError);
        EXPECT_THROW(dayNoteKeys(*f.dm), NotesError);
        EXPECT_EQ(test::readFileBytes(f.databaseFile()), bytes);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.databaseFile().parent_path()), {}), 1)
            << "left files beside it";
    }
}

TEST(NotesDatabase, AnUnreachableDatabaseFailsEveryUse) {
    test::NotesFixture f;
    // The settings folder's name is taken by a file.
    test::writeFileBytes(f.folder / "Data", "");
    EXPECT_THROW(readDayNote(*f.dm, QDate(2010, 6, 1)), NotesError);
    EXPECT_THROW(writeDayNote(*f.dm, QDate(2010, 6, 1), "x"), NotesError);
    // Once the way is clear the same data module works.
    std::filesystem::remove(f.folder / "Data");
    writeDayNote(*f.dm, QDate(2010, 6, 1), "x");
    EXPECT_EQ(readDayNote(*f.dm, QDate(2010, 6, 1)).value(), "x");
}

namespace {

// A note that shows whether it was written whole: `size` bytes of one letter.
QByteArray generation(int n, int size) {
    return QByteArray(size, static_cast<char>('a' + n % 26));
}

bool isWhole(const QByteArray& note, int size) {
    return note.size() == size && note.count(note.front()) == size;
}

}  // namespace

TEST(NotesDatabase, AKillDuringSavesLeavesAnIntactDatabaseAndWholeNotes) {
    test::NotesFixture f;
    const QDate day(2026, 12, 10);
    constexpr int kSize = 256 * 1024;
    writeDayNote(*f.dm, day, generation(0, kSize));
    f.dm.reset();

    for (int round = 0; round < 3; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The child saves without end, day note and week page in turn;
            // it says when its first saves are done.
            close(ready[0]);
            TDM dm(f.programFolder);
            for (int n = 1;; ++n) {
                writeDayNote(dm, day, generation(n, kSize));
                WeekTexts page;
                page.fill(generation(n, kSize / 8));
                writeWeekPage(dm, 1, page);
                if (n == 3 + round * 5) (void)!write(ready[1], "x", 1);
            }
        }
        close(ready[1]);
        char byte;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        EXPECT_EQ(f.sql("pragma integrity_check"), "ok");
        TDM dm(f.programFolder);
        const QByteArray note = readDayNote(dm, day).value();
        EXPECT_TRUE(isWhole(note, kSize)) << "a torn day note";
        const WeekTexts page = readWeekPage(dm, 1);
        for (const QByteArray& text : page) EXPECT_TRUE(isWhole(text, kSize / 8)) << "a torn week text";
        // The six texts of a page go in together.
        for (const QByteArray& text : page) EXPECT_EQ(text, page[0]);
        EXPECT_EQ(f.sql("select count(*) from UserCon"), "1");
    }
}

namespace {

// Tells when a connection starts waiting for a lock that another holds:
// SQLite's busy wait sleeps through the file layer of the connection, which
// this wraps, as the default one, for the connections opened while it lives.
class LockWaitWatch {
public:
    LockWaitWatch() : original_(sqlite3_vfs_find(nullptr)), vfs_(*original_) {
        vfs_.zName = "tavlo-lock-wait-watch";
        vfs_.xSleep = &LockWaitWatch::sleep;
        current_ = this;
        sqlite3_vfs_register(&vfs_, 1);
    }
    ~LockWaitWatch() {
        sqlite3_vfs_unregister(&vfs_);
        current_ = nullptr;
    }
    LockWaitWatch(const LockWaitWatch&) = delete;
    LockWaitWatch& operator=(const LockWaitWatch&) = delete;

    // The watched work ended (it may have waited or not).
    void finished() {
        std::lock_guard lock(mutex_);
        finished_ = true;
        changed_.notify_all();
    }
    // Waits until a connection waits for a lock or the work has finished;
    // false when neither happened within `limit` (the test fails then).
    bool waitForWaitingOrFinished(std::chrono::seconds limit) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [this] { return waiting_ || finished_; });
    }

private:
    static int sleep(sqlite3_vfs*, int microseconds) {
        LockWaitWatch& self = *current_;
        {
            std::lock_guard lock(self.mutex_);
            self.waiting_ = true;
            self.changed_.notify_all();
        }
        return self.original_->xSleep(self.original_, microseconds);
    }

    static inline LockWaitWatch* current_ = nullptr;
    sqlite3_vfs* original_;
    sqlite3_vfs vfs_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool waiting_ = false;
    bool finished_ = false;
};

}  // namespace

TEST(NotesDatabase, ASecondCopyWaitsForTheLockInsteadOfFailing) {
    test::NotesFixture f;
    const QDate day(2010, 6, 1);
    writeDayNote(*f.dm, day, "before");
    LockWaitWatch watch;
    TDM other(f.programFolder);

    // The first copy is in the middle of a save.
    Transaction held(f.dm->AdoCon);
    std::atomic<bool> done = false;
    std::string failure;
    std::thread second([&] {
        try {
            writeDayNote(other, day, "from the second copy");
        } catch (const std::exception& e) {
            failure = e.what();
        }
        done = true;
        watch.finished();
    });
    const bool waitedOrFinished = watch.waitForWaitingOrFinished(std::chrono::seconds(20));
    EXPECT_TRUE(waitedOrFinished) << "the second copy neither waited for the lock nor finished";
    EXPECT_FALSE(done) << "did not wait: " << failure;
    held.commit();
    second.join();
    EXPECT_EQ(failure, "");
    EXPECT_EQ(readDayNote(*f.dm, day).value(), "from the second copy");
}

TEST(NotesDatabase, ReadOnlyCreatesNothingAndAnotherProgramsDatabaseIsRefusedUntouched) {
    // No database: nothing is made, not even the folder.
    test::TempFolder empty;
    const ProgramFolder missing(empty / "not there");
    TDM reader(missing, nullptr, Connection::Mode::ReadOnly);
    try {
        dayNoteKeys(reader);
        ADD_FAILURE() << "no failure";
    } catch (const NotesError& e) {
        EXPECT_STREQ(e.what(), kNoDatabase);
    }
    EXPECT_FALSE(std::filesystem::exists(empty / "not there"));

    // Another program's SQLite file, in either mode.
    for (const auto mode : {Connection::Mode::ReadOnly, Connection::Mode::ReadWrite}) {
        test::NotesFixture f;
        test::writeFileBytes(f.databaseFile(), "");
        f.sql("create table contacts (name text)");
        f.sql("insert into contacts values ('someone')");
        const std::string before = test::readFileBytes(f.databaseFile());
        TDM dm(f.programFolder, nullptr, mode);
        try {
            readDayNote(dm, QDate(2010, 6, 1));
            ADD_FAILURE() << "no failure";
        } catch (const NotesError& e) {
            EXPECT_STREQ(e.what(), kNotNotesDatabase);
        }
        EXPECT_THROW(writeDayNote(dm, QDate(2010, 6, 1), "x"), NotesError);
        EXPECT_EQ(test::readFileBytes(f.databaseFile()), before);
    }
}

TEST(NotesDatabase, CausesAreInTheUsersWords) {
    struct Case {
        const char* what;
        std::string bytes;
        const char* cause;
    };
    const Case cases[] = {
        {"text", "这不是数据库", "文件不是数据库"},
        {"a database header over junk", std::string("SQLite format 3\0", 16) + std::string(4096, '\x01'),
         "文件不是数据库"},
    };
    for (const Case& c : cases) {
        test::NotesFixture f;
        test::writeFileBytes(f.databaseFile(), c.bytes);
        try {
            dayNoteKeys(*f.dm);
            ADD_FAILURE() << c.what;
        } catch (const NotesError& e) {
            EXPECT_STREQ(e.what(), c.cause) << c.what << ": " << e.detail();
        }
    }
    // The settings folder's name is taken by a file: the system's cause.
    test::NotesFixture f;
    test::writeFileBytes(f.folder / "Data", "");
    try {
        dayNoteKeys(*f.dm);
        ADD_FAILURE() << "no failure";
    } catch (const NotesError& e) {
        EXPECT_STREQ(e.what(), "路径中的一部分不是文件夹") << e.detail();
    }
}
