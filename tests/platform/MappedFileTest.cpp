#include "FileError.h"
#include "MappedFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <numeric>
#include <thread>
#include <vector>

using namespace tavlo;

namespace {

std::string errorText(const std::filesystem::path& path) {
    try {
        MappedFile file(path);
    } catch (const FileError& error) {
        return error.what();
    }
    return "no error";
}

unsigned sumOf(std::span<const std::uint8_t> bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), 0u);
}

}  // namespace

// Opening a pipe for reading waits for a writer: it must be refused at once.
TEST(MappedFile, RefusesWhatIsNotARegularFileWithoutWaiting) {
    test::TempFolder temp;
    const auto fifo = temp / "in.png";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(errorText(fifo), "读取文件“" + fifo.string() + "”失败：是管道，不是普通文件");
    EXPECT_EQ(errorText(temp.path()), "读取文件“" + temp.path().string() + "”失败：是文件夹，不是文件");
    EXPECT_EQ(errorText(temp / "missing"), "读取文件“" + (temp / "missing").string() + "”失败：文件不存在");
}

// Another program cuts the file short while it is mapped: reading the lost
// part must not end the process, and the change is reported.
TEST(MappedFile, FileCutShortWhileMappedReadsAsZerosAndIsReported) {
    test::TempFolder temp;
    const auto path = temp / "big.bmp";
    const std::size_t size = 8 << 20;
    test::writeFileBytes(path, std::string(size, '\x01'));
    const MappedFile file(path);
    EXPECT_NO_THROW(file.checkUnchanged());
    ASSERT_EQ(::truncate(path.c_str(), 4096), 0);
    EXPECT_EQ(sumOf(file.bytes()), 4096u);  // the lost pages read as zeros
    try {
        file.checkUnchanged();
        ADD_FAILURE() << "the cut went unnoticed";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "读取文件“" + path.string() + "”失败：读取时文件被其他程序改动");
    }
    // A fresh mapping of the shorter file is whole again.
    const MappedFile again(path);
    EXPECT_EQ(again.bytes().size(), 4096u);
    EXPECT_NO_THROW(again.checkUnchanged());
}

// Another program rewrites the file in place with bytes of the same size: no
// cut to see, but the time of the last write tells.
TEST(MappedFile, SameSizeRewriteWhileMappedIsReported) {
    test::TempFolder temp;
    const auto path = temp / "picture.bmp";
    test::writeFileBytes(path, std::string(3 * 4096, 'a'));
    test::makeFileAnHourOld(path);
    const MappedFile file(path);
    EXPECT_NO_THROW(file.checkUnchanged());
    test::rewriteInPlace(path, 4096, "bbbb");
    EXPECT_EQ(file.bytes().size(), 3u * 4096);
    try {
        file.checkUnchanged();
        ADD_FAILURE() << "the rewrite went unnoticed";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), "读取文件“" + path.string() + "”失败：读取时文件被其他程序改动");
    }
}

// Many files mapped at once, some cut: each reports only its own change, and
// files beyond the guarded mappings are read instead of mapped.
TEST(MappedFile, EachOfManyFilesReportsOnlyItsOwnCut) {
    test::TempFolder temp;
    std::vector<MappedFile> files;
    for (int i = 0; i < 200; ++i) {
        const auto path = temp / std::to_string(i);
        test::writeFileBytes(path, std::string(3 * 4096, '\x02'));
        files.emplace_back(path);
    }
    for (int i = 0; i < 200; i += 7) ASSERT_EQ(::truncate(files[i].path().c_str(), 0), 0);
    for (int i = 0; i < 200; ++i) {
        const unsigned sum = sumOf(files[i].bytes());
        if (i % 7 == 0) {
            EXPECT_THROW(files[i].checkUnchanged(), FileError) << i;
            EXPECT_LE(sum, 2u * 3 * 4096) << i;
        } else {
            EXPECT_NO_THROW(files[i].checkUnchanged()) << i;
            EXPECT_EQ(sum, 2u * 3 * 4096) << i;
        }
    }
}
