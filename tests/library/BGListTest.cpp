#include "BGList.h"
#include "BmpFormat.h"
#include "FileError.h"
#include "MappedFile.h"
#include "Picture.h"
#include "PictureEncoders.h"
#include "SettingsFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <png.h>

using namespace tavlo;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

class Library : public testing::Test {
protected:
    test::TempFolder temp;
    ProgramFolder folder{temp.path()};
    GlobalState state{folder};
    BackgroundWalk walk;

    fs::path listFile() const { return temp / "Data/BGPicList.ini"; }
    void writeList(std::string_view text) { test::writeFileBytes(listFile(), text); }
    std::string list() const { return test::readFileBytes(listFile()); }
    fs::path outside(const std::string& name, const test::Bytes& bytes) {
        const fs::path path = temp / "pictures" / name;
        test::writeFileBytes(path, std::string(bytes.begin(), bytes.end()));
        return path;
    }
};

}  // namespace

TEST_F(Library, MissingOrEmptyListFileGetsTheDefaultTwoLines) {
    for (const bool emptyFile : {false, true}) {
        if (emptyFile) writeList("");
        LoadBGList(state, walk, false);
        EXPECT_EQ(list(), "A1.bmp\r\nA1.bmp\r\n");
        EXPECT_EQ(walk.CurrentBGFile, "A1.bmp");
        EXPECT_EQ(walk.CurrentBGIndex, 1);
        EXPECT_EQ(state.PicBGList, (std::vector<TPicBGList>{{0, "A1.bmp"}, {1, "A1.bmp"}}));
    }
}

TEST_F(Library, WalkStartsAtTheLastEntryOrAtTheLastOneBearingTheChoice) {
    const struct {
        const char* file;
        bool startAtChoice;
        std::int32_t index;
    } cases[] = {
        {"b.bmp\r\nA1.bmp\r\nb.bmp\r\nc.bmp\r\n", true, 2},
        {"b.bmp\r\nA1.bmp\r\nb.bmp\r\nc.bmp\r\n", false, 3},
        {"c.bmp\r\nA1.bmp\r\nb.bmp\r\n", true, 0},  // only line 1 bears the name
        {"c.bmp\r\nA1.bmp\r\nb.bmp\r\n", false, 2},
        {"B.bmp\nA1.bmp\nb.bmp\n", true, 0},  // names compare case-sensitively
    };
    for (const auto& c : cases) {
        writeList(c.file);
        LoadBGList(state, walk, c.startAtChoice);
        EXPECT_EQ(walk.CurrentBGIndex, c.index) << c.file << " " << c.startAtChoice;
    }
}

TEST_F(Library, UnreadableListLeavesTheWalkAsItWas) {
    writeList("A1.bmp\r\nx.bmp\r\n");
    LoadBGList(state, walk, false);
    fs::remove(listFile());
    fs::create_directory(listFile());  // cannot be read as a file
    LoadBGList(state, walk, true);
    EXPECT_EQ(walk.CurrentBGIndex, 1);
    EXPECT_EQ(state.PicBGCount(), 2);
}

TEST_F(Library, AddingAJpegKeepsBothFilesAndListsTheBmp) {
    BackgroundPicker picker(folder);
    picker.FillPicList();
    const fs::path jpeg = outside("x.jpg", test::encodeJpeg(test::gradientPicture(64, 48)));
    EXPECT_EQ(picker.Add(jpeg), BackgroundPicker::AddResult::Added);
    EXPECT_EQ(picker.Add(jpeg), BackgroundPicker::AddResult::Added);  // same name again: a second item
    EXPECT_TRUE(fs::exists(temp / "source/DeskTopBG/x.jpg"));
    EXPECT_TRUE(fs::exists(temp / "source/DeskTopBG/x.bmp"));
    EXPECT_EQ(list(), "A1.bmp\r\nA1.bmp\r\nx.bmp\r\nx.bmp\r\n");
}

// A PNG joins the library as the insert command takes it: as a BMP beside its copy.
TEST_F(Library, AddingAPngListsItsBmp) {
    BackgroundPicker picker(folder);
    picker.FillPicList();
    const auto png =
        test::encodePng({2, 2, PNG_COLOR_TYPE_RGB, 8, false, std::vector<test::Bytes>(2, test::Bytes(6, 9))});
    EXPECT_EQ(picker.Add(outside("P.PNG", png)), BackgroundPicker::AddResult::Added);
    EXPECT_TRUE(picker.addCause.empty());
    EXPECT_EQ(imaging::loadPicture(temp / "source/DeskTopBG/P.bmp").width(), 2);
    EXPECT_EQ(list(), "A1.bmp\r\nA1.bmp\r\nP.bmp\r\n");
}

TEST_F(Library, RefusedAddsLeaveTheListAndSayWhy) {
    BackgroundPicker picker(folder);
    picker.FillPicList();
    const std::string before = list();
    const auto png =
        test::encodePng({2, 2, PNG_COLOR_TYPE_RGB, 8, false, std::vector<test::Bytes>(2, test::Bytes(6, 9))});
    EXPECT_EQ(picker.Add(outside("p.txt", png)), BackgroundPicker::AddResult::NotAPicture);
    EXPECT_TRUE(fs::exists(temp / "source/DeskTopBG/p.txt"));  // the copy stays
    EXPECT_EQ(picker.addCause, "只能添加 BMP、JPG、PNG 或 GIF 图片。");

    test::Bytes broken = test::encodeJpeg(test::gradientPicture(8, 8));
    broken.resize(40);
    EXPECT_EQ(picker.Add(outside("broken.jpg", broken)), BackgroundPicker::AddResult::Failed);
    EXPECT_TRUE(fs::exists(temp / "source/DeskTopBG/broken.jpg"));

    EXPECT_FALSE(picker.addCause.empty()) << "a broken JPEG's cause";

    EXPECT_EQ(picker.Add(outside("fake.bmp", {'B', 'M', 1, 2})), BackgroundPicker::AddResult::NotAPicture);
    EXPECT_FALSE(picker.addCause.empty());
    EXPECT_FALSE(fs::exists(temp / "source/DeskTopBG/fake.bmp"));  // the unreadable BMP never lands
    // A broken file under the built-in name leaves the built-in picture alone.
    imaging::writeBmp(test::gradientPicture(4, 4), temp / "source/DeskTopBG/A1.bmp");
    const std::string builtIn = test::readFileBytes(temp / "source/DeskTopBG/A1.bmp");
    EXPECT_EQ(picker.Add(outside("A1.bmp", {'B', 'M', 1, 2})), BackgroundPicker::AddResult::NotAPicture);
    EXPECT_EQ(test::readFileBytes(temp / "source/DeskTopBG/A1.bmp"), builtIn);

    EXPECT_EQ(picker.Add(temp / "pictures/missing.jpg"), BackgroundPicker::AddResult::Failed);
    EXPECT_EQ(list(), before);
    EXPECT_EQ(picker.items, (Lines{"A1.bmp"}));
}

// A picture rewritten in place while it is copied into the library (same
// size, so only its time of writing tells): the copy is refused, and the
// library's picture of that name stays as it was.
TEST_F(Library, PictureChangedWhileCopiedLeavesTheLibraryAlone) {
    const fs::path chosen = outside("x.jpg", test::encodeJpeg(test::gradientPicture(16, 16)));
    test::makeFileAnHourOld(chosen);
    const fs::path inLibrary = temp / "x.jpg";
    test::writeFileBytes(inLibrary, "the earlier x.jpg");

    const MappedFile source(chosen);
    test::rewriteInPlace(chosen, 100, "\xFF");
    EXPECT_THROW(copyIntoLibrary(source, inLibrary), FileError);
    EXPECT_EQ(test::readFileBytes(inLibrary), "the earlier x.jpg");

    const MappedFile unchanged(chosen);
    copyIntoLibrary(unchanged, inLibrary);
    EXPECT_EQ(test::readFileBytes(inLibrary), test::readFileBytes(chosen));
}

TEST_F(Library, RemoveAndOkFollowTheChosenBackground) {
    writeList("b.bmp\nA1.bmp\nb.bmp\nc.bmp\n");  // LF only: a rewrite shows as CR LF
    BackgroundPicker picker(folder);
    picker.FillPicList();
    EXPECT_EQ(picker.PickedBGFile, "b.bmp");

    picker.Ok(std::nullopt);
    picker.Ok(1);  // the chosen one again
    picker.Remove(std::nullopt);
    EXPECT_EQ(list(), "b.bmp\nA1.bmp\nb.bmp\nc.bmp\n");

    picker.Remove(0);  // "A1.bmp" stays, but the file is rewritten
    EXPECT_EQ(list(), "b.bmp\r\nA1.bmp\r\nb.bmp\r\nc.bmp\r\n");
    picker.Remove(1);  // the chosen background: the choice falls back to A1.bmp
    EXPECT_EQ(list(), "A1.bmp\r\nA1.bmp\r\nc.bmp\r\n");
    picker.Ok(1);
    EXPECT_EQ(list(), "c.bmp\r\nA1.bmp\r\nc.bmp\r\n");
    EXPECT_EQ(picker.PickedBGFile, "c.bmp");
}

TEST_F(Library, ListLinesNameOnlyPicturesInsideTheBackgroundFolder) {
    const fs::path bg = temp / "source/DeskTopBG";
    const struct {
        const char* line;
        std::optional<fs::path> path;
    } cases[] = {
        {"A1.bmp", bg / "A1.bmp"},
        {"sub/x.bmp", bg / "sub/x.bmp"},
        {"/etc/x.bmp", bg / "etc/x.bmp"},  // rooted: taken inside the folder
        {"sub/../x.bmp", bg / "x.bmp"},
        {"../x.bmp", std::nullopt},
        {"../../../../etc/passwd", std::nullopt},
        {"sub/../../x.bmp", std::nullopt},
        {"/../x.bmp", std::nullopt},
        {"", std::nullopt},
        {".", std::nullopt},
        {"sub/..", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(backgroundPath(folder, c.line), c.path) << c.line;
}

// Names from a file system that does not use UTF-8 (GBK 背景 is B1B3 BEB0)
// stay byte for byte through a load and a rewrite, beside UTF-8 names whose
// GB18030 form is the same bytes.
TEST_F(Library, NamesThatAreNotUtf8SurviveALoadAndARewrite) {
    const fs::path bg = temp / "source/DeskTopBG";
    const std::string gbk = "\xB1\xB3\xBE\xB0.bmp";
    const std::string mixed = "\xB1\xB3\xE6\x99\xAF.bmp";  // GBK 背, UTF-8 景: no text in either
    test::writeFileBytes(bg / gbk, "x");
    test::writeFileBytes(bg / "图片.bmp", "x");
    // 图片 is CDBC C6AC in GB18030; the file on disk has the UTF-8 name.
    writeList(gbk + "\r\nA1.bmp\r\n" + gbk + "\r\n\xCD\xBC\xC6\xAC.bmp\r\n" + mixed + "\r\n");
    LoadBGList(state, walk, true);
    EXPECT_EQ(walk.CurrentBGFile, gbk);
    EXPECT_EQ(walk.CurrentBGIndex, 2);
    EXPECT_EQ(state.PicBGList[3].FileName, "图片.bmp");
    EXPECT_EQ(state.PicBGList[4].FileName, mixed);
    EXPECT_EQ(backgroundPath(folder, gbk), bg / gbk);

    BackgroundPicker picker(folder);
    picker.FillPicList();
    picker.Ok(2);  // 图片.bmp
    EXPECT_EQ(list(), "\xCD\xBC\xC6\xAC.bmp\r\nA1.bmp\r\n" + gbk + "\r\n\xCD\xBC\xC6\xAC.bmp\r\n" + mixed + "\r\n");
}

TEST_F(Library, AListLineLongerThanAnyPathIsSkipped) {
    writeList("b.bmp\r\n" + std::string(kMaxSettingsLineBytes + 1, 'x') + "\r\nA1.bmp\r\nb.bmp\r\n");
    testing::internal::CaptureStderr();
    LoadBGList(state, walk, false);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("已跳过"), std::string::npos);
    EXPECT_EQ(state.PicBGList, (std::vector<TPicBGList>{{0, "b.bmp"}, {1, "A1.bmp"}, {2, "b.bmp"}}));
}
