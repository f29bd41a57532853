#include "ProgramFolder.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

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
