#include "CurrentPicture.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace tavlo;

TEST(TmpPic, MissingFileIsCreatedWithOneEmptyLine) {
    test::TempFolder temp;
    GlobalState state{ProgramFolder(temp.path())};
    state.CurrentPicturePath = "/left/over.bmp";
    LoadTmpPic(state);
    EXPECT_TRUE(state.CurrentPicturePath.empty());
    EXPECT_EQ(test::readFileBytes(temp / "Data/tmppic.ini"), "\r\n");
}

TEST(TmpPic, ReadsTheFirstLineAndToleratesAFileWithoutLines) {
    test::TempFolder temp;
    GlobalState state{ProgramFolder(temp.path())};
    test::writeFileBytes(temp / "Data/tmppic.ini", "");
    LoadTmpPic(state);
    EXPECT_TRUE(state.CurrentPicturePath.empty());

    // GB18030 on disk: 图片 is CDBC C6AC.
    test::writeFileBytes(temp / "Data/tmppic.ini", "/home/u/\xCD\xBC\xC6\xAC.bmp\r\nignored\r\n");
    LoadTmpPic(state);
    EXPECT_EQ(state.CurrentPicturePath, std::filesystem::path(u8"/home/u/图片.bmp"));
}

TEST(TmpPic, SaveWritesTheSingleLineAndLoadReadsItBack) {
    test::TempFolder temp;
    GlobalState state{ProgramFolder(temp.path())};
    state.CurrentPicturePath = std::filesystem::path(u8"/照片/𠀀 a.bmp");
    SaveTmpPic(state);
    GlobalState later{ProgramFolder(temp.path())};
    LoadTmpPic(later);
    EXPECT_EQ(later.CurrentPicturePath, state.CurrentPicturePath);
    state.CurrentPicturePath.clear();
    SaveTmpPic(state);
    EXPECT_EQ(test::readFileBytes(temp / "Data/tmppic.ini"), "\r\n");
}
