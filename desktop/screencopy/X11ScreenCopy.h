#pragma once
#include "ScreenCopy.h"

namespace tavlo::screencopy {

// Reads the X server's root window, all planes at the screen's own depth, and
// turns its pixels into 8-bit channels through the visual's masks.
class X11ScreenCopy : public ImmediateScreenCopy {
public:
    // `display` names the server (":1"); empty means $DISPLAY.
    explicit X11ScreenCopy(std::string display = {}) : display_(std::move(display)) {}

    std::string name() const override { return "x11"; }
    ScreenPicture CopyScreen(int width, int height) override;

private:
    std::string display_;
};

}  // namespace tavlo::screencopy
