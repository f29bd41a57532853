#include "AtomicFile.h"
#include "FileError.h"
#include "FileSizeCap.h"
#include "SettingsFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

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
    iovec pieces[] = {{a.data(), a.size()}, {b.data(), b.size()}};
    file.writeGathered(pieces);
    FILE* in = std::fopen(source.c_str(), "rb");
    file.copyFrom(fileno(in), 2, 5);
    std::fclose(in);
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
