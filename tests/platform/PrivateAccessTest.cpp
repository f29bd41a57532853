// What the program keeps is the user's only: folders 0700, files 0600, also
// those other writers make in its folder, and an older folder open to others
// is narrowed without reaching what only stands in it for something else.
#include "AtomicFile.h"
#include "MissingTool.h"
#include "ProgramFolder.h"
#include "SecondAccount.h"
#include "SettingsFile.h"
#include "TempFolder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

using namespace tavlo;
namespace fs = std::filesystem;

namespace {

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

void setMode(const fs::path& path, mode_t mode) {
    ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
}

// A file made the way a library that knows nothing of us makes one (the notes
// database's does): a plain create asking for 0644.
void plainCreate(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path;
    ::close(fd);
}

void writeAtomically(const fs::path& path, std::string_view bytes) {
    AtomicFile file(path, AtomicFile::Sync::Fast);
    file.write(bytes.data(), bytes.size());
    file.commit();
}

// Sets the umask for one scope.
class Umask {
public:
    explicit Umask(mode_t mask) : old_(::umask(mask)) {}
    ~Umask() { ::umask(old_); }

private:
    mode_t old_;
};

}  // namespace

TEST(PrivateFolder, WhatTheProgramAndOtherWritersMakeInItIsTheUsersOnly) {
    test::TempFolder temp;
    setMode(temp.path(), 0755);
    const ProgramFolder folder(temp.path());
    folder.makePrivate();
    EXPECT_EQ(modeOf(temp.path()), 0700u);

    // Whatever the umask lets through: a user's umask may be 0.
    const Umask open(0);
    const fs::path mix = folder.pathForWrite("source\\DeskTopBG\\Mix.bmp");
    writeAtomically(mix, "BM");
    writeSettingsLines(folder.pathForWrite("Data\\BGPicList.ini"), {"A1.bmp", "A1.bmp"});
    plainCreate(temp / "Data/Notes.db");
    ASSERT_EQ(::mkdir((temp / "Data/cache").c_str(), 0777), 0);

    const struct {
        const char* name;
        mode_t mode;
    } made[] = {
        {"source", 0700},     {"source/DeskTopBG", 0700},   {"source/DeskTopBG/Mix.bmp", 0600},
        {"Data", 0700},       {"Data/BGPicList.ini", 0600}, {"Data/Notes.db", 0600},
        {"Data/cache", 0700},
    };
    for (const auto& m : made) EXPECT_EQ(modeOf(temp / m.name), m.mode) << m.name;
}

TEST(PrivateFolder, FoldersForAWriteAreTheUsersOnlyEvenInAnOpenFolder) {
    test::TempFolder temp;
    setMode(temp.path(), 0755);
    const Umask usual(022);
    ProgramFolder(temp.path()).pathForWrite("source\\DeskTopBG\\Content.bmp");
    EXPECT_EQ(modeOf(temp / "source"), 0700u);
    EXPECT_EQ(modeOf(temp / "source/DeskTopBG"), 0700u);
}

// Outside a private folder a new file has the rights a plain create gives
// (a picture converted beside the user's own); a replaced file keeps its own.
TEST(AtomicFile, NewFileHasAPlainCreatesRightsAndAReplacedOneKeepsItsOwn) {
    test::TempFolder temp;
    setMode(temp.path(), 0755);
    const struct {
        mode_t umask;
        int existing;  // the replaced file's rights, -1: none
        mode_t expected;
    } cases[] = {
        {022, -1, 0644},
        {077, -1, 0600},
        {022, 0640, 0640},
        {077, 0604, 0604},
    };
    for (const auto& c : cases) {
        const fs::path file = temp / "photo.bmp";
        fs::remove(file);
        if (c.existing >= 0) {
            test::writeFileBytes(file, "old");
            setMode(file, static_cast<mode_t>(c.existing));
        }
        const Umask mask(c.umask);
        writeAtomically(file, "new");
        EXPECT_EQ(modeOf(file), c.expected) << std::oct << "umask " << c.umask << ", existing " << c.existing;
    }
}

TEST(PrivateFolder, AnOpenFolderIsNarrowedButNotWhatStandsForSomethingElse) {
    test::TempFolder temp;
    const fs::path root = temp / "tavlo";
    const fs::path elsewhere = temp / "elsewhere";
    test::writeFileBytes(root / "Data/BGPicList.ini", "A1.bmp\r\n");
    test::writeFileBytes(root / "tavlo", "program");
    test::writeFileBytes(root / "site/rs/Tavlo.htm", "<p>");
    test::writeFileBytes(root / "readonly.txt", "r");
    test::writeFileBytes(elsewhere / "photo.jpg", "picture");
    test::writeFileBytes(elsewhere / "album/one.bmp", "picture");
    test::writeFileBytes(elsewhere / "linked.bmp", "picture");
    fs::create_symlink(elsewhere / "photo.jpg", root / "source-photo.jpg");
    fs::create_symlink(elsewhere / "album", root / "album");
    fs::create_hard_link(elsewhere / "linked.bmp", root / "linked.bmp");
    for (const char* folder : {"tavlo", "tavlo/Data", "tavlo/site", "tavlo/site/rs", "elsewhere", "elsewhere/album"})
        setMode(temp / folder, 0755);
    for (const char* file : {"tavlo/Data/BGPicList.ini", "tavlo/site/rs/Tavlo.htm", "elsewhere/photo.jpg",
                             "elsewhere/album/one.bmp", "elsewhere/linked.bmp"})
        setMode(temp / file, 0644);
    setMode(root / "tavlo", 0755);
    setMode(root / "readonly.txt", 0444);

    ProgramFolder(root).makePrivate();

    const struct {
        const char* name;
        mode_t mode;
    } after[] = {
        {"tavlo", 0700},
        {"tavlo/Data", 0700},
        {"tavlo/Data/BGPicList.ini", 0600},
        {"tavlo/tavlo", 0700},  // still the user's to run
        {"tavlo/site/rs", 0700},
        {"tavlo/site/rs/Tavlo.htm", 0600},
        {"tavlo/readonly.txt", 0400},
        // Reached through links: the user's files elsewhere keep their rights.
        {"elsewhere", 0755},
        {"elsewhere/photo.jpg", 0644},
        {"elsewhere/album", 0755},
        {"elsewhere/album/one.bmp", 0644},
        {"elsewhere/linked.bmp", 0644},
    };
    for (const auto& a : after) EXPECT_EQ(modeOf(temp / a.name), a.mode) << a.name;
}

TEST(PrivateFolder, AnotherAccountsFilesInTheFolderAreLeftAlone) {
    const test::SecondAccount other;
    TAVLO_REQUIRE_TOOL(other.available(), "a second account (the tests make one when they run as root)");
    test::TempFolder temp;
    test::writeFileBytes(temp / "theirs/notes.txt", "theirs");
    test::writeFileBytes(temp / "shared.txt", "theirs");
    for (const char* name : {"theirs", "theirs/notes.txt", "shared.txt"}) {
        setMode(temp / name, fs::is_directory(temp / name) ? 0755 : 0644);
        ASSERT_EQ(::chown((temp / name).c_str(), other.uid(), other.gid()), 0);
    }
    ProgramFolder(temp.path()).makePrivate();
    EXPECT_EQ(modeOf(temp / "theirs"), 0755u);
    EXPECT_EQ(modeOf(temp / "theirs/notes.txt"), 0644u);
    EXPECT_EQ(modeOf(temp / "shared.txt"), 0644u);
}

// The point of it all, seen from another account on the machine: before
// the start-up narrowing it can read the notes, afterwards nothing.
TEST(PrivateFolder, AnotherAccountReadsNothingOnceTheFolderIsNarrowed) {
    const test::SecondAccount other;
    TAVLO_REQUIRE_TOOL(other.available(), "a second account (the tests make one when they run as root)");
    test::TempFolder temp;
    const ProgramFolder folder(temp.path());
    const Umask usual(022);
    setMode(temp.path(), 0755);
    plainCreate(temp / "Notes.db");
    writeSettingsLines(temp / "tmppic.ini", {"x"});
    ASSERT_TRUE(other.canRead(temp / "Notes.db")) << "the account should read an open folder's files";

    folder.makePrivate();
    plainCreate(folder.pathForWrite("Data\\Notes.db"));
    writeAtomically(folder.pathForWrite("source\\DeskTopBG\\Mix.bmp"), "BM");
    // Even with the way in opened again, the files themselves stay closed.
    for (const fs::path& path : {temp.path(), temp / "Notes.db", temp / "tmppic.ini", temp / "Data",
                                 temp / "Data/Notes.db", temp / "source/DeskTopBG/Mix.bmp"}) {
        EXPECT_FALSE(other.canRead(path)) << path;
    }
    setMode(temp.path(), 0711);
    setMode(temp / "Data", 0711);
    setMode(temp / "source", 0711);
    setMode(temp / "source/DeskTopBG", 0711);
    for (const fs::path& path :
         {temp / "Notes.db", temp / "tmppic.ini", temp / "Data/Notes.db", temp / "source/DeskTopBG/Mix.bmp"}) {
        EXPECT_FALSE(other.canRead(path)) << path;
    }
}
