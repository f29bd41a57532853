#include "ProgramFolder.h"
#include "ProgramFolderLock.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

using tavlo::ProgramFolder;

TEST(ProgramFolder, MapsTheProgramsRelativeNamesOntoOneTree) {
    const ProgramFolder folder("/opt/tavlo");
    EXPECT_EQ(folder.path("Data\\tmppic.ini"), "/opt/tavlo/Data/tmppic.ini");
    EXPECT_EQ(folder.path("data\\configSetBg.ini"), "/opt/tavlo/Data/configSetBg.ini");
    EXPECT_EQ(folder.path("DATA/FormSize.ini"), "/opt/tavlo/Data/FormSize.ini");
    EXPECT_EQ(folder.path("source\\DeskTopBG\\Mix.bmp"), "/opt/tavlo/source/DeskTopBG/Mix.bmp");
    EXPECT_EQ(folder.path("tmp\\tmp.bmp"), "/opt/tavlo/tmp/tmp.bmp");
    EXPECT_EQ(folder.backgroundFile("背景.bmp"), "/opt/tavlo/source/DeskTopBG/背景.bmp");
    // Only the settings folder is folded; a file called "data" elsewhere is not.
    EXPECT_EQ(folder.path("tmp\\data"), "/opt/tavlo/tmp/data");
}

TEST(ProgramFolder, CreatesTheFoldersAWriteNeeds) {
    tavlo::test::TempFolder temp;
    const ProgramFolder folder(temp.path());
    const auto path = folder.pathForWrite("source\\DeskTopBG\\Content.bmp");
    EXPECT_TRUE(std::filesystem::is_directory(temp / "source/DeskTopBG"));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ProgramFolder, ExecutableFolderIsThisTestsFolder) {
    EXPECT_EQ(ProgramFolder::ofExecutable().root(), tavlo::executablePath().parent_path());
    EXPECT_TRUE(std::filesystem::exists(tavlo::executablePath()));
}

TEST(ProgramFolderLock, OneHolderPerFolderAndTheSystemLetsGoOfAKilledOne) {
    using State = tavlo::ProgramFolderLock::State;
    tavlo::test::TempFolder temp;
    std::filesystem::create_directories(temp / "a");
    std::filesystem::create_directories(temp / "b");
    {
        const tavlo::ProgramFolderLock first(temp / "a");
        EXPECT_EQ(first.state(), State::Held);
        EXPECT_EQ(tavlo::ProgramFolderLock(temp / "a").state(), State::HeldElsewhere);
        EXPECT_EQ(tavlo::ProgramFolderLock(temp / "b").state(), State::Held);
    }
    EXPECT_EQ(tavlo::ProgramFolderLock(temp / "a").state(), State::Held);

    // A copy killed while it holds the lock.
    int held[2];
    ASSERT_EQ(::pipe(held), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const tavlo::ProgramFolderLock lock(temp / "a");
        (void)!::write(held[1], "h", 1);
        ::pause();
    }
    char byte = 0;
    ASSERT_EQ(::read(held[0], &byte, 1), 1);
    EXPECT_EQ(tavlo::ProgramFolderLock(temp / "a").state(), State::HeldElsewhere);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(tavlo::ProgramFolderLock(temp / "a").state(), State::Held);
}

// A program started by the holder (a wallpaper helper that stays behind)
// does not inherit the lock.
TEST(ProgramFolderLock, ProgramsStartedByTheHolderDoNotKeepIt) {
    tavlo::test::TempFolder temp;
    pid_t helper = 0;
    {
        const tavlo::ProgramFolderLock lock(temp.path());
        ASSERT_EQ(lock.state(), tavlo::ProgramFolderLock::State::Held);
        char sleep[] = "sleep";
        char seconds[] = "30";
        char* arguments[] = {sleep, seconds, nullptr};
        ASSERT_EQ(::posix_spawnp(&helper, "sleep", nullptr, nullptr, arguments, environ), 0);
    }
    EXPECT_EQ(tavlo::ProgramFolderLock(temp.path()).state(), tavlo::ProgramFolderLock::State::Held);
    ::kill(helper, SIGKILL);
    ::waitpid(helper, nullptr, 0);
}
