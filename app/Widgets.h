#pragma once
// The shared controls and helpers the main window is built from.
#include "Artwork.h"
#include "BitmapQt.h"
#include "ErrorReport.h"
#include "TImage.h"
#include "WindowFrame.h"

namespace tavlo::app {

using widgets::ArtworkPiece;
using widgets::fromQImage;
using widgets::kApplicationTitle;
using widgets::renderArtwork;
using widgets::showErrorReport;
using widgets::TImage;
using widgets::toQImage;
using widgets::WindowFrame;
namespace art = widgets::art;

}  // namespace tavlo::app
