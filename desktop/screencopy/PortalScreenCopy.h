#pragma once
#include "ScreenCopy.h"

#include <QString>

#include <chrono>
#include <memory>
#include <string_view>

class QObject;

namespace tavlo::screencopy {

// Asks the desktop portal (org.freedesktop.portal.Screenshot on the session
// bus) for a screenshot without any dialog. Nothing waits for the desktop:
// the portal's answer arrives as the Response signal of the request object,
// and only then is the picture file it names read (and removed) and the grab
// ended.
class PortalScreenCopy : public ScreenCopy {
public:
    // How long the portal may take to answer the call, and again to send its
    // Response: a portal that never answers must not leave the command
    // hanging.
    // `desktops` is the session's XDG_CURRENT_DESKTOP: it tells which
    // packages a failure should name.
    explicit PortalScreenCopy(std::chrono::milliseconds timeout = std::chrono::seconds(60), std::string desktops = {});
    ~PortalScreenCopy() override;

    std::string name() const override { return "portal"; }
    // The whole desktop at the compositor's own scale, whatever the toolkit
    // believes it to be; the primary screen is cut out of it.
    void grab(const ScreenLayout& layout, Taken taken, Failed failed) override;

private:
    std::chrono::milliseconds timeout_;
    std::string desktops_;
    // The parent of the requests still waiting for their answer: they end
    // with the copy, unanswered.
    std::unique_ptr<QObject> requests_;
};

// What a failed Screenshot call (the bus's error name and text) says about
// the portal: not there, there without screenshots, or there and failing.
// `backend` are the packages of the desktop's portal backend.
ScreenCopyError portalCallError(const QString& name, const QString& message, const std::vector<std::string>& backend);

// The Debian packages of the portal backend that takes screenshots on these
// desktops (XDG_CURRENT_DESKTOP, names separated by colons).
std::vector<std::string> portalBackendPackages(std::string_view desktops);

}  // namespace tavlo::screencopy
