#pragma once
#include "ScreenCopy.h"

#include <chrono>

namespace tavlo::screencopy {

// Asks the desktop portal (org.freedesktop.portal.Screenshot on the session
// bus) for a screenshot without any dialog, waits for the answer on the
// request object, reads the picture file it names and removes that file.
class PortalScreenCopy : public ScreenCopy {
public:
    // How long to wait for the portal's answer; the command must not hang on
    // a portal that never answers.
    explicit PortalScreenCopy(std::chrono::milliseconds timeout = std::chrono::seconds(60)) : timeout_(timeout) {}

    std::string name() const override { return "portal"; }
    ScreenPicture CopyScreen(int width, int height) override;

private:
    std::chrono::milliseconds timeout_;
};

}  // namespace tavlo::screencopy
