#pragma once
#include "Bitmap.h"
#include "BmpFormat.h"
#include "MappedFile.h"

#include <filesystem>
#include <optional>

namespace tavlo {

// Where the content goes on a background: its right edge 52 pixels left of the
// background's right edge, its top 4 pixels down.
struct Placement {
    int x = 0, y = 0;
    static Placement onBackground(int backgroundWidth, int contentWidth) {
        return {backgroundWidth - contentWidth - 52, 4};
    }
};

// A background picture as loaded for one composition. An uncompressed BMP
// stays mapped, so that the composite can be written as a patched copy of the
// file; any other picture is decoded.
class Background {
public:
    static Background load(const std::filesystem::path& path);  // throws FileError/ImageError

    int width() const;
    int height() const;
    // Its pixels as 24-bit blue-green-red.
    imaging::Bitmap pixels() const;
    // The composite, written to `target`: the background with `content` pasted
    // at `at`, in the background's size and pixel format, replaced atomically.
    void composeInto(const imaging::Bitmap& content, Placement at, const std::filesystem::path& target) const;

private:
    explicit Background(MappedFile file) : file_(std::move(file)) {}
    void writePatchedCopy(const imaging::Bitmap& content, Placement at, const std::filesystem::path& target) const;

    MappedFile file_;
    std::optional<imaging::BmpLayout> layout_;  // set when the file itself can be patched
    std::optional<imaging::Bitmap> decoded_;    // set otherwise
};

// The composition operations of one apply, run in order on files of the
// background folder: "Content.bmp" and "Mix.bmp".
class Composition {
public:
    explicit Composition(std::filesystem::path backgroundFolder);

    // Writes the current picture to "Content.bmp" and reads it back as the content.
    void SaveContentPicture(const imaging::Bitmap& currentPicture);
    // Reads the background; false when the file is not a readable picture (the
    // previous background is dropped then).
    bool LoadBackground(const std::filesystem::path& path);
    // Writes the composite of the loaded background and content to "Mix.bmp".
    void ComposeWallpaper();

    // What was loaded; null before.
    const Background* background() const { return background_ ? &*background_ : nullptr; }
    const imaging::Bitmap* content() const { return content_ ? &*content_ : nullptr; }

    std::filesystem::path contentPath() const { return folder_ / "Content.bmp"; }
    std::filesystem::path mixPath() const { return folder_ / "Mix.bmp"; }

private:
    std::filesystem::path folder_;
    std::optional<imaging::Bitmap> content_;
    std::optional<Background> background_;
};

}  // namespace tavlo
