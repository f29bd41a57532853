#include "FitMode.h"

namespace tavlo {

std::string_view fitModeWord(FitMode mode) {
    switch (mode) {
    case FitMode::Stretch: return "stretch";
    case FitMode::Fill: return "fill";
    case FitMode::Fit: return "fit";
    case FitMode::Center: return "center";
    case FitMode::Tile: return "tile";
    }
    return "stretch";
}

std::optional<FitMode> fitModeFromWord(std::string_view word) {
    for (const FitMode mode : kFitModes)
        if (fitModeWord(mode) == word) return mode;
    return std::nullopt;
}

}  // namespace tavlo
