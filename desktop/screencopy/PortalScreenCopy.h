#pragma once
#include "ScreenCopy.h"

#include <QString>

#include <chrono>
#include <string_view>

namespace tavlo::screencopy {

// Asks the desktop portal (org.freedesktop.portal.Screenshot on the session
// bus) for a screenshot without any dialog, waits for the answer on the
// request object, reads the picture file it names and removes that file.
class PortalScreenCopy : public ScreenCopy {
public:
    // How long to wait for the portal's answer; the command must not hang on
    // a portal that never answers.
    // `desktops` is the session's XDG_CURRENT_DESKTOP: it tells which
    // packages a failure should name.
    explicit PortalScreenCopy(std::chrono::milliseconds timeout = std::chrono::seconds(60), std::string desktops = {})
        : timeout_(timeout), desktops_(std::move(desktops)) {}

    std::string name() const override { return "portal"; }
    ScreenPicture CopyScreen(int width, int height) override;
    // The whole desktop at the compositor's own scale, whatever the toolkit
    // believes it to be.
    ScreenStill copyPrimaryScreen(const ScreenLayout& layout) override;

private:
    ScreenPicture screenshot();

    std::chrono::milliseconds timeout_;
    std::string desktops_;
};

// What a failed Screenshot call (the bus's error name and text) says about
// the portal: not there, there without screenshots, or there and failing.
// `backend` are the packages of the desktop's portal backend.
ScreenCopyError portalCallError(const QString& name, const QString& message, const std::vector<std::string>& backend);

// The Debian packages of the portal backend that takes screenshots on these
// desktops (XDG_CURRENT_DESKTOP, names separated by colons).
std::vector<std::string> portalBackendPackages(std::string_view desktops);

}  // namespace tavlo::screencopy
