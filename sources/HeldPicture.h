#pragma once
#include "Bitmap.h"
#include "RowSink.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <span>

namespace tavlo {

// The picture the main window shows and the apply command pastes. The window
// shows a picture at its own size from its top-left corner, so no more of it
// than the screen can ever be seen: a larger picture is held only as that
// top-left part, and read whole again from its file when it is pasted.
class HeldPicture {
public:
    // At most this much of a picture is held for showing.
    struct Limit {
        int width, height;
    };
    // How a picture the program's codecs do not read is decoded (whole);
    // throws ImageError when it cannot read it either.
    using OtherFormats = std::function<imaging::Bitmap(const std::filesystem::path&)>;

    // A picture held whole.
    explicit HeldPicture(imaging::Bitmap whole);

    // Reads the picture at `path` (any format, told by content); what the
    // program's codecs cannot read goes to `others`. Throws FileError or
    // ImageError. A BMP that fits is held in its own format.
    static HeldPicture load(const std::filesystem::path& path, Limit limit, const OtherFormats& others = {});

    // The picture's size.
    int width() const { return width_; }
    int height() const { return height_; }
    bool isWhole() const { return shown_.width() == width_ && shown_.height() == height_; }
    // What is shown: the whole picture, or its top-left part.
    const imaging::Bitmap& shown() const { return shown_; }
    // The whole picture: the one held, or the file read again into `storage`.
    const imaging::Bitmap& whole(std::optional<imaging::Bitmap>& storage) const;

    // The picture as a sink's top-left part kept of the file `file`.
    static HeldPicture fromPart(imaging::TopLeftPart& part, const std::filesystem::path& file);

private:
    static HeldPicture loadOwnFormat(const std::filesystem::path& path, Limit limit);

    imaging::Bitmap shown_;
    int width_ = 0, height_ = 0;
    std::filesystem::path file_;  // where the whole is read from, when not held
};

// Inserting a JPEG, PNG or GIF: the file is decoded once and written as a
// BMP file into the first of `targets` that can be written, while the part
// that is shown is kept; the picture's file is that BMP. When no target can
// be written, the picture alone is returned (its file the chosen one) and
// `written` is left empty. Returns nothing when the content is not a JPEG,
// PNG or GIF. Throws ImageError when it cannot be decoded.
std::optional<HeldPicture> convertInsertedPicture(const std::filesystem::path& chosen,
                                                  std::span<const std::filesystem::path> targets,
                                                  HeldPicture::Limit limit, std::filesystem::path& written);

}  // namespace tavlo
