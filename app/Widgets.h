#pragma once
// The shared controls and helpers the main window is built from.
#include "Artwork.h"
#include "BitmapQt.h"
#include "Command.h"
#include "Controls.h"
#include "MessageBoxes.h"
#include "TImage.h"
#include "WindowFrame.h"

namespace tavlo::app {

using widgets::ArtworkPiece;
using widgets::asCommand;
using widgets::CommandKind;
using widgets::fromQImage;
using widgets::kApplicationTitle;
using widgets::make;
using widgets::makeCommand;
using widgets::picture;
using widgets::pixelFont;
using widgets::readPictureWithQt;
using widgets::renderArtwork;
using widgets::runCommand;
using widgets::setTabChain;
using widgets::showErrorReport;
using widgets::showFailure;
using widgets::showMessage;
using widgets::TImage;
using widgets::TLabel;
using widgets::toQImage;
using widgets::TShape;
using widgets::WindowFrame;
namespace art = widgets::art;

}  // namespace tavlo::app
