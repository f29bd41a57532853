#include "BmpFormat.h"
#include "JpegDecoder.h"
#include "Picture.h"
#include "PictureConversion.h"
#include "PictureEncoders.h"
#include "ReadOnlyFolder.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <png.h>

using namespace tavlo;
namespace fs = std::filesystem;

namespace {

void save(const fs::path& path, const test::Bytes& bytes) {
    test::writeFileBytes(path, std::string(bytes.begin(), bytes.end()));
}

}  // namespace

TEST(ConvertToBmp, TheExtensionInAnyCaseDecides) {
    test::TempFolder temp;
    const imaging::Bitmap picture = test::gradientPicture(40, 30);
    const test::Bytes jpeg = test::encodeJpeg(picture, 100);
    const test::Bytes gif = test::encodeGif(3, 2, {0, 0, 0, 255, 255, 255},
                                            {test::GifFrame{0, 0, 3, 2, false, -1, {}, {0, 1, 0, 1, 0, 1}},
                                             test::GifFrame{0, 0, 3, 2, false, -1, {}, {1, 1, 1, 1, 1, 1}}});
    const test::Bytes png = test::encodePng({1, 1, PNG_COLOR_TYPE_RGB, 8, false, {{1, 2, 3}}});
    save(temp / "photo.JPG", jpeg);
    save(temp / "b.Jpeg", jpeg);
    save(temp / "anim.GIF", gif);
    save(temp / "c.png", png);
    save(temp / "d", png);
    save(temp / "e.ico", png);
    imaging::writeBmp(picture, temp / "own.BMP");

    EXPECT_EQ(ConvertToBmp(temp / "photo.JPG"), temp / "photo.bmp");
    EXPECT_EQ(ConvertToBmp(temp / "b.Jpeg"), temp / "b.bmp");
    EXPECT_EQ(ConvertToBmp(temp / "anim.GIF"), temp / "anim.bmp");
    EXPECT_EQ(ConvertToBmp(temp / "own.BMP"), temp / "own.BMP");
    EXPECT_EQ(ConvertToBmp(temp / "c.png"), fs::path());
    EXPECT_EQ(ConvertToBmp(temp / "d"), fs::path());
    EXPECT_EQ(ConvertToBmp(temp / "e.ico"), fs::path());
    EXPECT_FALSE(fs::exists(temp / "c.bmp"));
    EXPECT_FALSE(fs::exists(temp / "e.bmp"));

    // The streamed JPEG conversion writes exactly what decoding whole would.
    EXPECT_EQ(test::readFileBytes(temp / "photo.bmp"), [&] {
        auto b = imaging::encodeBmp(imaging::decodeJpeg(jpeg));
        return std::string(b.begin(), b.end());
    }());
    const imaging::Bitmap first = imaging::loadPicture(temp / "anim.bmp");
    EXPECT_EQ(first.width(), 3);
    EXPECT_EQ(first.row(0)[0], 0);  // the first frame, not the all-white second one
    EXPECT_EQ(first.row(0)[3], 255);
}

TEST(ConvertToBmp, ReplacesAnEarlierConversionButKeepsItWhenDecodingFails) {
    test::TempFolder temp;
    save(temp / "x.jpg", test::encodeJpeg(test::gradientPicture(8, 8), 100));
    test::writeFileBytes(temp / "x.bmp", "stale");
    ConvertToBmp(temp / "x.jpg");
    const std::string converted = test::readFileBytes(temp / "x.bmp");
    EXPECT_EQ(imaging::loadPicture(temp / "x.bmp").width(), 8);

    test::Bytes broken = test::encodeJpeg(test::gradientPicture(8, 8), 100);
    broken.resize(30);
    save(temp / "x.jpg", broken);
    EXPECT_THROW(ConvertToBmp(temp / "x.jpg"), imaging::ImageError);
    EXPECT_EQ(test::readFileBytes(temp / "x.bmp"), converted);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()), {}), 2);  // no temporary left behind

    EXPECT_THROW(ConvertToBmp(temp / "missing.gif"), std::exception);
}

TEST(InsertedPicture, GoesBesideItsSourceOrElseIntoTheProgramsTmpFolder) {
    test::TempFolder temp;
    const ProgramFolder program(temp / "program");
    const imaging::Bitmap picture = test::gradientPicture(40, 30);
    const auto pixelsOf = [](const fs::path& path) { return imaging::loadPicture(path).pixels(); };

    const fs::path writable = temp / "mine/photo.jpg";
    save(writable, test::encodeJpeg(picture, 90));
    EXPECT_EQ(writeInsertedPicture(picture, writable, program), temp / "mine/photo.bmp");
    EXPECT_EQ(pixelsOf(temp / "mine/photo.bmp"), picture.pixels());

    // Two read-only folders (a share, a CD) holding pictures of one name.
    std::vector<fs::path> written;
    for (const char* folder : {"share", "cd"}) {
        const fs::path source = temp / folder / "photo.jpg";
        save(source, test::encodeJpeg(picture, 90));
        {
            const test::ReadOnlyFolder readOnly(temp / folder);
            ASSERT_FALSE(readOnly.writable()) << "the folder could not be made read-only";
            written.push_back(writeInsertedPicture(picture, source, program));
        }
        EXPECT_FALSE(fs::exists(temp / folder / "photo.bmp"));
        EXPECT_EQ(written.back().parent_path(), temp / "program/tmp");
        EXPECT_EQ(pixelsOf(written.back()), picture.pixels());
        // The same source keeps its name.
        EXPECT_EQ(written.back().filename(), insertedPictureName(source));
    }
    EXPECT_NE(written[0], written[1]);  // same file name, other folder: no collision
    EXPECT_NE(insertedPictureName(temp / "share/photo.jpg"), insertedPictureName(temp / "share/photo.gif"));
    EXPECT_NE(insertedPictureName(temp / "tmp.jpg"), "tmp.bmp");
}
