#pragma once
#include "ScreenCopy.h"

namespace tavlo::screencopy {

// Copies the screen through the screen's device context into a 32-bit DIB.
class WindowsScreenCopy : public ImmediateScreenCopy {
public:
    std::string name() const override { return "windows"; }
    ScreenPicture CopyScreen(int width, int height) override;
};

}  // namespace tavlo::screencopy
