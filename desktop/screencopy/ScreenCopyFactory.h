#pragma once
#include "ScreenCopy.h"

#include <memory>

namespace tavlo::screencopy {

// The screen copy for the running session: the screen device context on
// Windows; on Linux the desktop portal in a Wayland session, the X server's
// root window otherwise. Where none can work, a copy whose every call fails
// with the reason.
std::unique_ptr<ScreenCopy> createSessionScreenCopy();

}  // namespace tavlo::screencopy
