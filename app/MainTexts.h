#pragma once
#include <QString>

// The main window's messages for its commands. (The notes and the capture
// keep theirs with their controllers.)
namespace tavlo::app::texts {

// Insert: the chosen file could not be shown or kept as the current picture.
QString insertFailed();

// A page could not be handed to a browser; `page` is where it is.
QString noBrowser(const QString& page);

}  // namespace tavlo::app::texts
