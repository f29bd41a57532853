#pragma once
#include <QString>

// The texts of the shared message boxes that a user may see.
namespace tavlo::widgets::texts {

// The one button of a message box and its tooltip.
QString okCaption();
QString okTip();

// A failure whose own account is for developers only.
QString internalFailure();
QString outOfMemory();

// The open dialog's picture preview: its name, what it says of a picture
// (width × height pixels) and of a file that shows none.
QString previewName();
QString previewDescription(int width, int height);
QString noPreview();

}  // namespace tavlo::widgets::texts
