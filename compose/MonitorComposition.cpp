#include "MonitorComposition.h"

#include "BmpFormat.h"
#include "CBmp.h"
#include "FittedBackground.h"
#include "Picture.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>

namespace tavlo {

using imaging::Bitmap;
using wallpaper::Monitor;
using wallpaper::MonitorLayout;
using wallpaper::MonitorPicture;

bool composedAtBackgroundSize(const MonitorLayout& monitors, const WallpaperOptions& options) {
    return monitors.empty() || (monitors.size() == 1 && options.mode == FitMode::Stretch);
}

std::filesystem::path monitorCompositePath(const std::filesystem::path& folder, const Monitor& monitor, bool primary,
                                           const std::string& base) {
    if (primary) return folder / (base + ".bmp");
    // An output's name becomes part of a file name: nothing in it may leave
    // the folder or hide in a control character.
    std::string name;
    for (const char c : monitor.name) {
        const auto byte = static_cast<unsigned char>(c);
        name += (byte < 0x20 || byte == 0x7f || c == '/' || c == '\\' || c == ':') ? '_' : c;
    }
    if (name.empty() || name == "." || name == "..") name = "monitor";
    return folder / (base + "-" + name + ".bmp");
}

std::vector<MonitorPicture> composeForMonitors(const Background& background, const Bitmap& content,
                                               const MonitorLayout& monitors, const WallpaperOptions& options,
                                               const std::filesystem::path& folder, const std::string& base) {
    const MonitorLayout ordered = wallpaper::primaryFirst(monitors);
    const Bitmap nothing;
    std::optional<Bitmap> pixels;  // the background's, decoded once when a monitor needs them
    std::vector<MonitorPicture> composites;
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        const Monitor& monitor = ordered[i];
        const bool primary = i == 0;
        const Bitmap& pasted = primary || options.pictureOnEveryMonitor ? content : nothing;
        const std::filesystem::path path = monitorCompositePath(folder, monitor, primary, base);
        const Placement at = Placement::onBackground(monitor.width, pasted.width());
        if (monitor.width == background.width() && monitor.height == background.height()) {
            background.composeInto(pasted, at, path);
        } else {
            if (!pixels) pixels = background.pixels();
            Bitmap composite = fitBackground(*pixels, monitor.width, monitor.height, options.mode);
            if (!pasted.empty()) OverlayBitmap(pasted, composite, at.x, at.y);
            imaging::writeBmp(composite, path);
        }
        composites.push_back({monitor, path});
    }
    return composites;
}

std::filesystem::path composeSpanned(const std::vector<MonitorPicture>& composites, const std::filesystem::path& folder,
                                     const std::string& base) {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const MonitorPicture& c : composites) {
        left = std::min(left, c.monitor.x);
        top = std::min(top, c.monitor.y);
        right = std::max(right, c.monitor.x + c.monitor.width);
        bottom = std::max(bottom, c.monitor.y + c.monitor.height);
    }
    imaging::checkDimensions(static_cast<std::int64_t>(right) - left, static_cast<std::int64_t>(bottom) - top, "BMP");
    Bitmap spanned(right - left, bottom - top, 24);
    for (const MonitorPicture& c : composites) {
        const Bitmap picture = imaging::toBgr24(imaging::loadPicture(c.picture));
        const int x = c.monitor.x - left, y = c.monitor.y - top;
        const int rows = std::min(picture.height(), spanned.height() - y);
        const int columns = std::min(picture.width(), spanned.width() - x);
        for (int row = 0; row < rows; ++row)
            std::memcpy(spanned.row(y + row) + 3 * static_cast<std::size_t>(x), picture.row(row),
                        3 * static_cast<std::size_t>(columns));
    }
    const std::filesystem::path path = folder / (base + "-spanned.bmp");
    imaging::writeBmp(spanned, path);
    return path;
}

}  // namespace tavlo
