#include "FixedScreenCopy.h"

namespace tavlo::screencopy {

FixedScreenCopy FixedScreenCopy::failing(ScreenCopyError error) {
    FixedScreenCopy copy{ScreenPicture{}};
    copy.error_ = std::move(error);
    return copy;
}

FixedScreenCopy FixedScreenCopy::compositor(ScreenPicture desktop) {
    FixedScreenCopy copy{std::move(desktop)};
    copy.compositor_ = true;
    return copy;
}

ScreenPicture FixedScreenCopy::CopyScreen(int width, int height) {
    requests_.emplace_back(width, height);
    if (error_) throw *error_;
    return cropFromOrigin(picture_, width, height);
}

ScreenStill FixedScreenCopy::copyPrimaryScreen(const ScreenLayout& layout) {
    if (!compositor_) return ImmediateScreenCopy::copyPrimaryScreen(layout);
    requests_.emplace_back(layout.width, layout.height);
    if (error_) throw *error_;
    return primaryScreenOfDesktop(picture_, layout);
}

}  // namespace tavlo::screencopy
