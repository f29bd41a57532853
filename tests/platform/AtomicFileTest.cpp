#include "AtomicFile.h"
#include "FileError.h"
#include "FileSizeCap.h"
#include "MappedFile.h"
#include "SettingsFile.h"
#include "TempFolder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <functional>

using namespace tavlo;

namespace {

std::size_t filesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

}  // namespace

TEST(AtomicFile, FailedWriteLeavesTheOldFileAndNoTemporary) {
    test::TempFolder temp;
    const auto path = temp / "FormSize.ini";
    writeSettingsLines(path, {"1", "830"});
    const std::string before = test::readFileBytes(path);
    {
        test::FileSizeCap cap(64);
        const std::vector<std::string> big(100, "a long line of settings text");
        EXPECT_THROW(writeSettingsLines(path, big), FileError);
    }
    EXPECT_EQ(test::readFileBytes(path), before);
    EXPECT_EQ(filesIn(temp.path()), 1u);
}

TEST(AtomicFile, UncommittedFileNeverReplacesTheTarget) {
    test::TempFolder temp;
    const auto path = temp / "Mix.bmp";
    test::writeFileBytes(path, "old");
    {
        AtomicFile file(path, AtomicFile::Sync::Fast);
        file.write("new", 3);
    }
    EXPECT_EQ(test::readFileBytes(path), "old");
    EXPECT_EQ(filesIn(temp.path()), 1u);
}

TEST(AtomicFile, BothKindsReplaceAnExistingFileAndLeaveNothingBehind) {
    test::TempFolder temp;
    const auto path = temp / "Mix.bmp";
    for (const auto sync : {AtomicFile::Sync::Fast, AtomicFile::Sync::Durable}) {
        test::writeFileBytes(path, "old picture");
        AtomicFile file(path, sync);
        file.write("new", 3);
        file.commit();
        EXPECT_EQ(test::readFileBytes(path), "new");
        EXPECT_EQ(filesIn(temp.path()), 1u);
    }
    std::filesystem::remove(path);
    AtomicFile file(path, AtomicFile::Sync::Fast);  // nothing to swap with
    file.write("first", 5);
    file.commit();
    EXPECT_EQ(test::readFileBytes(path), "first");
}

TEST(AtomicFile, GatheredAndPositionedWritesAndCopiesLandInPlace) {
    test::TempFolder temp;
    const auto source = temp / "source";
    test::writeFileBytes(source, "0123456789");
    const auto path = temp / "out";
    AtomicFile file(path, AtomicFile::Sync::Fast);
    std::string a = "ab", b = "cd";
    const AtomicFile::Piece pieces[] = {{a.data(), a.size()}, {b.data(), b.size()}};
    file.writeGathered(pieces);
    file.copyFrom(MappedFile(source), 2, 5);
    file.writeAt(0, "X", 1);
    file.commit();
    EXPECT_EQ(test::readFileBytes(path), "Xbcd23456");
}

TEST(AtomicFile, MissingFolderIsReportedWithThePath) {
    test::TempFolder temp;
    try {
        AtomicFile file(temp / "no/such/folder/x", AtomicFile::Sync::Fast);
        FAIL() << "expected an error";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("no/such/folder/x"), std::string::npos) << error.what();
    }
}

namespace {

// A listening Unix socket at `path`, as a running service leaves one.
int makeSocket(const std::filesystem::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return -1;
    return fd;
}

std::string errorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& error) {
        return error.what();
    }
    return "no error";
}

}  // namespace

// Renaming over (or swapping with) whatever stands at the target would move a
// folder away with its contents or put a regular file where a device was.
TEST(AtomicFile, RefusesToReplaceWhatIsNotARegularFileAndLeavesItAlone) {
    test::TempFolder temp;
    const auto folder = temp / "Mix.bmp";
    std::filesystem::create_directory(folder);
    test::writeFileBytes(folder / "inside", "kept");
    const auto fifo = temp / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto socketPath = temp / "socket";
    const int socketFd = makeSocket(socketPath);
    ASSERT_GE(socketFd, 0);
    const struct {
        std::filesystem::path target;
        std::string cause;
        std::filesystem::file_type type;
    } cases[] = {
        {folder, "是文件夹，不是文件", std::filesystem::file_type::directory},
        {fifo, "是管道，不是普通文件", std::filesystem::file_type::fifo},
        {socketPath, "是套接字，不是普通文件", std::filesystem::file_type::socket},
    };
    for (const auto& c : cases) {
        for (const auto sync : {AtomicFile::Sync::Fast, AtomicFile::Sync::Durable}) {
            const std::string text = errorText([&] {
                AtomicFile file(c.target, sync);
                file.write("new", 3);
                file.commit();
            });
            EXPECT_EQ(text, "写入文件“" + c.target.string() + "”失败：" + c.cause);
            EXPECT_EQ(std::filesystem::symlink_status(c.target).type(), c.type) << c.target;
        }
    }
    EXPECT_EQ(test::readFileBytes(folder / "inside"), "kept");
    EXPECT_EQ(filesIn(temp.path()), 3u);
    ::close(socketFd);
}

TEST(AtomicFile, FollowsSymbolicLinksAndReplacesTheFileTheyName) {
    test::TempFolder temp;
    std::filesystem::create_directory(temp / "real");
    test::writeFileBytes(temp / "real/Mix.bmp", "old");
    std::filesystem::create_symlink("real/Mix.bmp", temp / "relative");
    std::filesystem::create_symlink(temp / "relative", temp / "chained");
    std::filesystem::create_symlink("real/new.bmp", temp / "dangling");
    for (const auto sync : {AtomicFile::Sync::Fast, AtomicFile::Sync::Durable}) {
        for (const char* link : {"relative", "chained", "dangling"}) {
            AtomicFile file(temp / link, sync);
            file.write(link, std::strlen(link));
            file.commit();
            EXPECT_TRUE(std::filesystem::is_symlink(temp / link));
            EXPECT_EQ(test::readFileBytes(temp / link), link);
        }
    }
    EXPECT_EQ(test::readFileBytes(temp / "real/Mix.bmp"), "chained");
    EXPECT_EQ(test::readFileBytes(temp / "real/new.bmp"), "dangling");
    EXPECT_EQ(filesIn(temp / "real"), 2u);
    EXPECT_EQ(filesIn(temp.path()), 4u);
}

TEST(AtomicFile, ReplacingLinksPutsTheFileInTheLinksPlaceAndLeavesWhatTheyNameAlone) {
    test::TempFolder temp;
    std::filesystem::create_directory(temp / "real");
    test::writeFileBytes(temp / "real/other.txt", "someone else's");
    ::chmod((temp / "real/other.txt").c_str(), 0644);
    std::filesystem::create_symlink(temp / "real/other.txt", temp / "planted");
    std::filesystem::create_symlink(temp / "real/made.txt", temp / "dangling");
    ::mkfifo((temp / "fifo").c_str(), 0600);
    for (const auto sync : {AtomicFile::Sync::Fast, AtomicFile::Sync::Durable}) {
        for (const char* name : {"planted", "dangling"}) {
            SCOPED_TRACE(name);
            const auto target = temp / name;
            if (!std::filesystem::is_symlink(target)) std::filesystem::create_symlink(temp / "real/other.txt", target);
            AtomicFile file(target, sync, AtomicFile::Links::Replace);
            file.write(name, std::strlen(name));
            file.commit();
            EXPECT_FALSE(std::filesystem::is_symlink(target));
            EXPECT_EQ(test::readFileBytes(target), name);
            std::filesystem::remove(target);
        }
        // Still only regular files and links: a pipe is refused.
        EXPECT_THROW(AtomicFile(temp / "fifo", sync, AtomicFile::Links::Replace), FileError);
    }
    EXPECT_EQ(test::readFileBytes(temp / "real/other.txt"), "someone else's");
    EXPECT_FALSE(std::filesystem::exists(temp / "real/made.txt"));
    EXPECT_EQ(filesIn(temp / "real"), 1u);
}

TEST(AtomicFile, NamesAtTheLengthLimitStayWritable) {
    test::TempFolder temp;
    for (const std::size_t length : {250u, 255u}) {
        const auto path = temp / (std::string(length - 4, 'n') + ".bmp");
        for (const auto sync : {AtomicFile::Sync::Fast, AtomicFile::Sync::Durable}) {
            for (const char* text : {"first", "second"}) {  // created, then replaced
                AtomicFile file(path, sync);
                file.write(text, std::strlen(text));
                file.commit();
                EXPECT_EQ(test::readFileBytes(path), text);
            }
        }
    }
    EXPECT_EQ(filesIn(temp.path()), 2u);
}

// A writer killed at any moment leaves no file of its own that stays: the
// new file has no name while it is written, and the moment it has one the
// next writer in the folder cleans up after.
TEST(AtomicFile, WritersKilledWhileWritingLeaveNothingBehind) {
    test::TempFolder temp;
    const auto path = temp / "Mix.bmp";
    const std::string picture(4 << 20, 'p');
    for (int run = 0; run < 12; ++run) {
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(started[0]);
            for (int i = 0;; ++i) {
                AtomicFile file(path, i % 2 ? AtomicFile::Sync::Durable : AtomicFile::Sync::Fast);
                file.write(picture.data(), picture.size() / 2);
                if (i == 0) (void)!::write(started[1], "s", 1);
                file.write(picture.data(), picture.size() / 2);
                file.commit();
            }
        }
        ::close(started[1]);
        char byte = 0;
        ASSERT_EQ(::read(started[0], &byte, 1), 1);
        ::close(started[0]);
        ::usleep(static_cast<useconds_t>(run * 1500));  // a different moment of the loop each run
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
    }
    AtomicFile file(path, AtomicFile::Sync::Fast);
    file.write(picture.data(), picture.size());
    file.commit();
    EXPECT_EQ(filesIn(temp.path()), 1u);
    EXPECT_EQ(std::filesystem::file_size(path), picture.size());
}

TEST(FileError, CausesAUserMeetsAreInChinese) {
    const struct {
        int error;
        std::string text;
    } cases[] = {
        {EACCES, "没有权限"},
        {EPERM, "没有权限"},
        {ENOSPC, "磁盘空间不足"},
        {EDQUOT, "磁盘空间不足"},
        {EROFS, "只读文件系统"},
        {ENOENT, "文件不存在"},
        {EFBIG, "文件过大"},
        {EISDIR, "是文件夹，不是文件"},
        {EIO, "读写磁盘出错"},
        {ELOOP, "符号链接层数过多"},
        {EXDEV, "不能跨磁盘移动"},
        {EDOM, "系统错误（错误号 " + std::to_string(EDOM) + "）"},  // rare causes by their number, not in English
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileError("写入文件", "/a/Mix.bmp", c.error).what(), "写入文件“/a/Mix.bmp”失败：" + c.text);
    }
    EXPECT_EQ(describeNotRegularFile(std::filesystem::file_type::block), "是设备，不是普通文件");
}

// Earlier versions named the temporary "NAME.tmp-" and six letters or digits.
// Those a killed writer left beside a file we replace go; anything else that
// only looks alike stays (a fresh one may be a running old version's).
TEST(AtomicFile, ReplacingAFileRemovesTheStaleTemporariesOfEarlierVersions) {
    test::TempFolder temp;
    const auto path = temp / "Mix.bmp";
    const auto old = [&](const std::string& name) {
        const auto file = temp / name;
        test::writeFileBytes(file, "left");
        const timespec times[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
        EXPECT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    };
    for (const auto sync : {AtomicFile::Sync::Fast, AtomicFile::Sync::Durable}) {
        test::writeFileBytes(path, "old picture");
        old("Mix.bmp.tmp-a1B2c3");
        old("Mix.bmp.tmp-abc");       // not the old pattern
        old("Mix.bmp.tmp-abc-de");    // nor this
        old("Other.bmp.tmp-a1B2c3");  // another file's: removed when that one is replaced
        test::writeFileBytes(temp / "Mix.bmp.tmp-Z9y8x7", "being written");  // fresh
        AtomicFile file(path, sync);
        file.write("new", 3);
        file.commit();
        EXPECT_FALSE(std::filesystem::exists(temp / "Mix.bmp.tmp-a1B2c3"));
        for (const char* kept : {"Mix.bmp.tmp-abc", "Mix.bmp.tmp-abc-de", "Other.bmp.tmp-a1B2c3", "Mix.bmp.tmp-Z9y8x7"})
            EXPECT_TRUE(std::filesystem::exists(temp / kept)) << kept;
        EXPECT_EQ(test::readFileBytes(path), "new");
    }
}

// Another program puts a folder or a pipe where the target is (or was to be)
// between the opening and the commit: it stays as it is, with what it holds,
// and the write fails saying what stands there.
TEST(AtomicFile, TargetTakenByAFolderOrPipeBeforeTheCommitIsLeftAlone) {
    const struct {
        const char* name;
        std::filesystem::file_type type;
        std::string cause;
    } intruders[] = {
        {"folder", std::filesystem::file_type::directory, "是文件夹，不是文件"},
        {"pipe", std::filesystem::file_type::fifo, "是管道，不是普通文件"},
    };
    for (const auto& intruder : intruders) {
        for (const bool existed : {true, false}) {
            for (const auto sync : {AtomicFile::Sync::Fast, AtomicFile::Sync::Durable}) {
                SCOPED_TRACE(std::string(intruder.name) + (existed ? ", over a file" : ", new file") +
                             (sync == AtomicFile::Sync::Fast ? ", fast" : ", durable"));
                test::TempFolder temp;
                const auto path = temp / "Mix.bmp";
                if (existed) test::writeFileBytes(path, "old picture");
                const std::string text = errorText([&] {
                    AtomicFile file(path, sync);
                    file.write("new", 3);
                    std::filesystem::remove(path);
                    if (intruder.type == std::filesystem::file_type::directory) {
                        std::filesystem::create_directory(path);
                        test::writeFileBytes(path / "inside", "kept");
                    } else {
                        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
                    }
                    file.commit();
                });
                EXPECT_EQ(text, "写入文件“" + path.string() + "”失败：" + intruder.cause);
                EXPECT_EQ(std::filesystem::symlink_status(path).type(), intruder.type);
                if (intruder.type == std::filesystem::file_type::directory) {
                    EXPECT_TRUE(std::filesystem::is_regular_file(path / "inside"));
                }
                EXPECT_EQ(filesIn(temp.path()), 1u);
            }
        }
    }
}

// Links that lead back to themselves are refused with their cause instead of
// being followed for ever.
TEST(AtomicFile, SymbolicLinkLoopsAreRefused) {
    test::TempFolder temp;
    std::filesystem::create_symlink("self", temp / "self");
    std::filesystem::create_symlink("pong", temp / "ping");
    std::filesystem::create_symlink(temp / "ping", temp / "pong");
    std::filesystem::create_symlink("self/Mix.bmp", temp / "inLoopingFolder");
    for (const char* link : {"self", "ping", "inLoopingFolder"}) {
        for (const auto sync : {AtomicFile::Sync::Fast, AtomicFile::Sync::Durable}) {
            const std::string text = errorText([&] {
                AtomicFile file(temp / link, sync);
                file.write("new", 3);
                file.commit();
            });
            EXPECT_EQ(text, "写入文件“" + (temp / link).string() + "”失败：符号链接层数过多");
            EXPECT_TRUE(std::filesystem::is_symlink(temp / link)) << link;
        }
    }
    EXPECT_EQ(filesIn(temp.path()), 4u);
}

// The new file gets the permissions of the one it replaces (a file the user
// keeps private stays private), and a new file those a plain create gives.
TEST(AtomicFile, ReplacedFileKeepsItsPermissions) {
    const struct {
        const char* name;
        mode_t before;  // 0: no file yet
        mode_t expected;
    } cases[] = {
        {"private to its group", 0640, 0640},
        {"owner only", 0600, 0600},
        {"executable", 0755, 0755},
        {"new, under umask 027", 0, 0640},
    };
    const mode_t savedMask = ::umask(027);
    for (const auto& c : cases) {
        for (const bool throughLink : {false, true}) {
            for (const auto sync : {AtomicFile::Sync::Fast, AtomicFile::Sync::Durable}) {
                SCOPED_TRACE(std::string(c.name) + (throughLink ? ", through a link" : ""));
                test::TempFolder temp;
                const auto path = temp / "FormSize.ini";
                if (c.before) {
                    test::writeFileBytes(path, "old");
                    ASSERT_EQ(::chmod(path.c_str(), c.before), 0);
                }
                const auto target = throughLink ? temp / "link" : path;
                if (throughLink) std::filesystem::create_symlink("FormSize.ini", target);
                AtomicFile file(target, sync);
                file.write("new", 3);
                file.commit();
                struct stat info {};
                ASSERT_EQ(::stat(path.c_str(), &info), 0);
                EXPECT_EQ(info.st_mode & 07777, c.expected);
                EXPECT_EQ(test::readFileBytes(path), "new");
            }
        }
    }
    ::umask(savedMask);
}
