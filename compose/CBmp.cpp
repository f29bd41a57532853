#include "CBmp.h"

#include <algorithm>
#include <vector>

namespace tavlo {

void pasteRow(imaging::PixelWriter& writer, std::uint8_t* targetRow, int targetWidth, const std::uint8_t* contentBgr,
              int contentWidth, int x) {
    const int first = std::max(0, -x);                         // first content column inside
    const int last = std::min(contentWidth, targetWidth - x);  // one past the last one
    if (first >= last) return;
    writer.writePixels(targetRow, x + first, contentBgr + 3 * static_cast<std::size_t>(first), last - first);
}

void OverlayBitmap(const imaging::Bitmap& content, imaging::Bitmap& target, int x, int y) {
    imaging::PixelWriter writer(target);
    const imaging::PixelReader reader(content);
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(content.width()) * 3);
    const int firstRow = std::max(0, -y);
    const int lastRow = std::min(content.height(), target.height() - y);
    for (int row = firstRow; row < lastRow; ++row) {
        reader.readRow(row, bgr.data());
        pasteRow(writer, target.row(y + row), target.width(), bgr.data(), content.width(), x);
    }
}

}  // namespace tavlo
