#include "AtomicFile.h"
#include "BmpFormat.h"
#include "FileError.h"
#include "MappedFile.h"
#include "Picture.h"
#include "PictureEncoders.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <png.h>
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

// The user is told what is wrong in Chinese, naming the file and the format;
// the decoder's own account stays in what(), for the log.
TEST(PictureFile, AnUnreadablePictureIsDescribedInTheUsersLanguage) {
    test::TempFolder temp;
    writeBmp(test::gradientPicture(16, 16), temp / "whole.bmp");
    const std::string bmp = test::readFileBytes(temp / "whole.bmp");
    std::string oddBmp = bmp;
    oddBmp[30] = 9;  // a compression no BMP reader knows
    const auto text = [](const test::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); };
    const std::string png = text(test::encodePng({2, 1, PNG_COLOR_TYPE_RGB, 8, false, {{0, 0, 255, 9, 9, 9}}}));
    const std::string gif =
        text(test::encodeGif(2, 1, {0, 0, 0, 255, 255, 255}, {test::GifFrame{0, 0, 2, 1, false, -1, {}, {0, 1}}}));
    struct Case {
        std::string name, bytes, cause, detail;
    } cases[] = {
        {"notes.txt", "just text", "未知的图片格式（可读取 BMP、JPEG、PNG 和 GIF）", "unknown picture format"},
        {"cut.bmp", bmp.substr(0, bmp.size() / 2), "BMP 图片的数据已损坏或不完整", "BMP: pixel data truncated"},
        {"odd.bmp", oddBmp, "不支持这种存储方式的BMP 图片", "BMP: unsupported compression 9"},
        {"cut.jpg", "\xFF\xD8\xFF", "JPEG 图片的数据已损坏或不完整", "JPEG: "},
        {"cut.png", png.substr(0, 40), "PNG 图片的数据已损坏或不完整", "PNG: "},
        {"cut.gif", gif.substr(0, 16), "GIF 图片的数据已损坏或不完整", "GIF: "},
    };
    for (const Case& c : cases) {
        test::writeFileBytes(temp / c.name, c.bytes);
        try {
            loadPicture(temp / c.name);
            ADD_FAILURE() << c.name << " accepted";
        } catch (const ImageError& error) {
            EXPECT_EQ(error.cause(), "“" + (temp / c.name).string() + "”不是可读取的图片：" + c.cause) << c.name;
            EXPECT_NE(std::string(error.what()).find(c.detail), std::string::npos) << c.name << ": " << error.what();
            EXPECT_EQ(std::string(error.what()).find("图片"), std::string::npos) << c.name << ": " << error.what();
        }
    }
}
