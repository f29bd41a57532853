#pragma once
#include <QPixmap>
#include <QSize>
#include <QString>

namespace tavlo::widgets {

// The window's pictures, drawn from the SVG files of widgets/art at the exact
// pixel size each control uses.
struct ArtworkPiece {
    const char* name;  // file name without ".svg"
    QSize size;
};

namespace art {
inline constexpr ArtworkPiece background{"background", {416, 289}};
inline constexpr ArtworkPiece logo{"logo", {200, 57}};
inline constexpr ArtworkPiece closeNormal{"close_normal", {39, 20}};
inline constexpr ArtworkPiece closeHighlight{"close_highlight", {39, 20}};
inline constexpr ArtworkPiece closeDown{"close_down", {39, 20}};
inline constexpr ArtworkPiece miniNormal{"mini_normal", {28, 20}};
inline constexpr ArtworkPiece miniHighlight{"mini_highlight", {28, 20}};
inline constexpr ArtworkPiece miniDown{"mini_down", {28, 20}};
inline constexpr ArtworkPiece apply{"apply", {84, 29}};
inline constexpr ArtworkPiece addBackground{"addbg", {200, 93}};
inline constexpr ArtworkPiece icon{"icon", {64, 64}};
inline constexpr ArtworkPiece warning{"warning", {45, 46}};
}  // namespace art

// The piece rendered at its size in window pixels, drawn at the given
// device pixel ratio (by default the highest of the screens'); a null pixmap
// if the resource is missing.
QPixmap renderArtwork(const ArtworkPiece& piece);
QPixmap renderArtwork(const ArtworkPiece& piece, qreal devicePixelRatio);

}  // namespace tavlo::widgets
