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

}  // namespace tavlo::widgets::texts
