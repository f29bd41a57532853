// The current picture held as far as it can be seen: what is shown, what is
// pasted, and the BMP an insert writes on the way.
#include "BmpFormat.h"
#include "FileError.h"
#include "HeldPicture.h"
#include "Picture.h"
#include "PictureEncoders.h"
#include "ReadOnlyFolder.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace tavlo;
namespace fs = std::filesystem;

namespace {

void save(const fs::path& path, const test::Bytes& bytes) {
    fs::create_directories(path.parent_path());
    test::writeFileBytes(path, std::string(bytes.begin(), bytes.end()));
}

const HeldPicture::Limit kScreen{20, 10};

}  // namespace

TEST(HeldPicture, ALargePictureIsShownInPartAndPastedWhole) {
    test::TempFolder temp;
    const imaging::Bitmap source = test::gradientPicture(60, 40);
    save(temp / "big.jpg", test::encodeJpeg(source, 95));
    const imaging::Bitmap decoded = imaging::loadPicture(temp / "big.jpg");

    const HeldPicture picture = HeldPicture::load(temp / "big.jpg", kScreen);
    EXPECT_FALSE(picture.isWhole());
    EXPECT_EQ(picture.width(), 60);
    EXPECT_EQ(picture.height(), 40);
    EXPECT_EQ(picture.shown().pixels(), test::topLeftOf(decoded, 20, 10).pixels());
    std::optional<imaging::Bitmap> storage;
    EXPECT_EQ(picture.whole(storage).pixels(), decoded.pixels());

    // The file is the picture: once it is gone, nothing can be pasted.
    fs::remove(temp / "big.jpg");
    storage.reset();
    EXPECT_THROW(picture.whole(storage), FileError);
}

TEST(HeldPicture, ABmpKeepsItsOwnFormatWhereverItIsHeldWhole) {
    test::TempFolder temp;
    imaging::Bitmap indexed(30, 8, 8);
    for (std::size_t i = 0; i < indexed.pixels().size(); ++i) indexed.pixels()[i] = static_cast<std::uint8_t>(i);
    imaging::writeBmp(indexed, temp / "indexed.bmp");

    const HeldPicture fits = HeldPicture::load(temp / "indexed.bmp", {30, 8});
    EXPECT_TRUE(fits.isWhole());
    EXPECT_EQ(fits.shown().bitsPerPixel(), 8);

    const HeldPicture wide = HeldPicture::load(temp / "indexed.bmp", kScreen);
    EXPECT_FALSE(wide.isWhole());
    EXPECT_EQ(wide.shown().bitsPerPixel(), 24);
    std::optional<imaging::Bitmap> storage;
    EXPECT_EQ(wide.whole(storage).bitsPerPixel(), 8);
    EXPECT_EQ(wide.whole(storage).pixels(), indexed.pixels());
}

// Files the program's codecs do not read, or refuse, may still be pictures
// to another reader.
TEST(HeldPicture, OtherFormatsGoToTheirOwnReader) {
    test::TempFolder temp;
    test::writeFileBytes(temp / "icon.ico", "not one of ours");
    test::writeFileBytes(temp / "odd.bmp", "BM, but not as we know it");
    int asked = 0;
    const auto reader = [&](const fs::path&) {
        ++asked;
        return imaging::Bitmap(3, 2, 24);
    };
    for (const char* name : {"icon.ico", "odd.bmp"}) {
        EXPECT_TRUE(HeldPicture::load(temp / name, kScreen, reader).isWhole());
        EXPECT_THROW(HeldPicture::load(temp / name, kScreen), imaging::ImageError);
    }
    EXPECT_EQ(asked, 2);
}

TEST(InsertedPictureConversion, WritesTheFirstWritableTargetAndKeepsWhatIsShown) {
    test::TempFolder temp;
    const imaging::Bitmap source = test::gradientPicture(50, 30);
    const fs::path chosen = temp / "cd/photo.png";
    save(chosen, test::encodePng({50,
                                  30,
                                  2,
                                  8,
                                  false,
                                  [&] {
                                      std::vector<test::Bytes> rows;
                                      for (int y = 0; y < 30; ++y) {
                                          test::Bytes row;
                                          for (int x = 0; x < 50; ++x) {
                                              const std::uint8_t* bgr = source.row(y) + 3 * x;
                                              row.insert(row.end(), {bgr[2], bgr[1], bgr[0]});
                                          }
                                          rows.push_back(row);
                                      }
                                      return rows;
                                  }(),
                                  {},
                                  {}}));
    const std::vector<fs::path> targets = {temp / "cd/photo.bmp", temp / "tmp/insert.bmp"};
    fs::create_directories(temp / "tmp");
    fs::path written;
    std::optional<HeldPicture> picture;
    {
        const test::ReadOnlyFolder readOnly(temp / "cd");
        ASSERT_FALSE(readOnly.writable()) << "the folder could not be made read-only";
        picture = convertInsertedPicture(chosen, targets, kScreen, written);
    }
    ASSERT_TRUE(picture);
    EXPECT_EQ(written, targets[1]);
    EXPECT_FALSE(fs::exists(targets[0]));
    const imaging::Bitmap bmp = imaging::loadPicture(written);
    EXPECT_EQ(bmp.pixels(), source.pixels());
    EXPECT_EQ(picture->shown().pixels(), test::topLeftOf(source, 20, 10).pixels());
    std::optional<imaging::Bitmap> storage;
    EXPECT_EQ(picture->whole(storage).pixels(), source.pixels());

    // Nowhere to write: the picture alone, read from the chosen file.
    {
        const test::ReadOnlyFolder readOnly(temp / "cd");
        picture = convertInsertedPicture(chosen, std::vector<fs::path>{targets[0]}, kScreen, written);
    }
    ASSERT_TRUE(picture);
    EXPECT_TRUE(written.empty());
    storage.reset();
    EXPECT_EQ(picture->whole(storage).pixels(), source.pixels());
}

TEST(InsertedPictureConversion, LeavesABmpAndBrokenFilesAlone) {
    test::TempFolder temp;
    imaging::writeBmp(test::gradientPicture(8, 8), temp / "really-a-bmp.jpg");
    fs::path written = "unchanged";
    const std::vector<fs::path> targets = {temp / "out.bmp"};
    EXPECT_FALSE(convertInsertedPicture(temp / "really-a-bmp.jpg", targets, kScreen, written));
    EXPECT_EQ(written, "unchanged");

    test::Bytes broken = test::encodeJpeg(test::gradientPicture(8, 8), 100);
    broken.resize(30);
    save(temp / "broken.jpg", broken);
    EXPECT_THROW(convertInsertedPicture(temp / "broken.jpg", targets, kScreen, written), imaging::ImageError);
    EXPECT_FALSE(fs::exists(temp / "out.bmp"));
}
