#pragma once
#include <optional>
#include <string_view>

namespace tavlo {

// How a background fills a monitor of another size.
enum class FitMode {
    Stretch,  // scaled to the monitor, ignoring its proportions (the default)
    Fill,     // scaled to cover the monitor, the overflow cut off evenly on both sides
    Fit,      // scaled to lie whole on the monitor, the bars in the colour of its edge
    Center,   // at its own size in the middle, cut off or with bars as it falls
    Tile,     // at its own size, repeated from the top-left corner
};

inline constexpr FitMode kFitModes[] = {FitMode::Stretch, FitMode::Fill, FitMode::Fit, FitMode::Center, FitMode::Tile};

// The mode's word in settings files and on command lines: "stretch",
// "fill", "fit", "center", "tile".
std::string_view fitModeWord(FitMode mode);
std::optional<FitMode> fitModeFromWord(std::string_view word);

}  // namespace tavlo
