#include "CurrentPicture.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tavlo;

TEST(TmpPic, MissingFileIsCreatedWithOneEmptyLine) {
    test::TempFolder temp;
    GlobalState state{ProgramFolder(temp.path())};
    state.CurrentPicturePath = "/left/over.bmp";
    LoadTmpPic(state);
    EXPECT_TRUE(state.CurrentPicturePath.empty());
    EXPECT_EQ(test::readFileBytes(temp / "Data/tmppic.ini"), "\r\n");
}

// A pipe in the file's place reads as no picture, raises no error and stays.
TEST(TmpPic, APipeInPlaceOfTheFileHoldsNoPictureAndStays) {
    test::TempFolder temp;
    GlobalState state{ProgramFolder(temp.path())};
    state.CurrentPicturePath = "/left/over.bmp";
    std::filesystem::create_directories(temp / "Data");
    const auto file = temp / "Data/tmppic.ini";
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_NO_THROW(LoadTmpPic(state));
    EXPECT_TRUE(state.CurrentPicturePath.empty());
    EXPECT_TRUE(std::filesystem::is_fifo(file));
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

// A program folder named in GBK (张三 is D5C5 C8FD) on a UTF-8 system: the
// path is stored as its bytes and found again, beside a folder of the same
// name in UTF-8 that does not hold the picture.
TEST(TmpPic, APathThatIsNotUtf8IsKeptByteForByte) {
    test::TempFolder temp;
    const std::filesystem::path gbk = temp / "\xD5\xC5\xC8\xFD";
    std::filesystem::create_directories(temp / "张三");
    test::writeFileBytes(gbk / "tmp/tmp.bmp", "x");
    for (const auto& picture : {gbk / "tmp/tmp.bmp", gbk / "tmp/图片.bmp"}) {
        GlobalState state{ProgramFolder(gbk)};
        state.CurrentPicturePath = picture;
        SaveTmpPic(state);
        EXPECT_EQ(test::readFileBytes(gbk / "Data/tmppic.ini"), picture.string() + "\r\n");
        GlobalState later{ProgramFolder(gbk)};
        LoadTmpPic(later);
        EXPECT_EQ(later.CurrentPicturePath, picture);
    }
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
