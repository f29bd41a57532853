#include "FixedScreenCopy.h"

namespace tavlo::screencopy {

FixedScreenCopy FixedScreenCopy::failing(std::string error) {
    FixedScreenCopy copy{ScreenPicture{}};
    copy.error_ = std::move(error);
    return copy;
}

ScreenPicture FixedScreenCopy::CopyScreen(int width, int height) {
    requests_.emplace_back(width, height);
    if (error_) throw ScreenCopyError(*error_);
    return cropFromOrigin(picture_, width, height);
}

}  // namespace tavlo::screencopy
