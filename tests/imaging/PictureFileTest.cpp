#include "AtomicFile.h"
#include "BmpFormat.h"
#include "FileError.h"
#include "MappedFile.h"
#include "Picture.h"
#include "PictureEncoders.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace tavlo;
using namespace tavlo::imaging;

namespace {

std::string fileErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& error) {
        return error.what();
    } catch (const std::exception& error) {
        return std::string("not a FileError: ") + error.what();
    }
    return "no error";
}

}  // namespace

// A picture cut short by another program while it is read ends in the file
// error the user is shown for unreadable files, and a conversion leaves its
// target as it was.
TEST(PictureFile, PictureCutShortWhileReadIsAFileErrorAndReplacesNothing) {
    test::TempFolder temp;
    const Bitmap picture = test::gradientPicture(600, 400);
    const auto bmp = temp / "picture.bmp", jpeg = temp / "photo.jpg", target = temp / "photo.bmp";
    writeBmp(picture, bmp);
    const test::Bytes encoded = test::encodeJpeg(picture, 95);
    test::writeFileBytes(jpeg, std::string(encoded.begin(), encoded.end()));
    test::writeFileBytes(target, "old");
    const std::string changed = "读取时文件被其他程序改动";
    for (const auto& path : {bmp, jpeg}) {
        const MappedFile file(path);
        ASSERT_EQ(::truncate(path.c_str(), 2000), 0);
        EXPECT_NE(fileErrorOf([&] { decodePicture(file); }).find(changed), std::string::npos) << path;
    }
    const MappedFile cut(jpeg);
    ASSERT_EQ(::truncate(jpeg.c_str(), 1000), 0);
    EXPECT_NE(fileErrorOf([&] {
                  AtomicFile converted(target, AtomicFile::Sync::Fast);
                  writePictureAsBmp(cut, converted);
                  converted.commit();
              }).find(changed),
              std::string::npos);
    EXPECT_EQ(test::readFileBytes(target), "old");
}

TEST(PictureFile, UnknownFormatIsNamedInTheUsersLanguage) {
    test::TempFolder temp;
    test::writeFileBytes(temp / "notes.txt", "just text");
    try {
        loadPicture(temp / "notes.txt");
        FAIL() << "accepted";
    } catch (const ImageError& error) {
        EXPECT_EQ(std::string(error.what()), "“" + (temp / "notes.txt").string() +
                                                 "”不是可读取的图片：未知的图片格式（可读取 BMP、JPEG、PNG 和 GIF）");
    }
}
