#pragma once
#include "ScreenCopy.h"

#include <optional>
#include <utility>

namespace tavlo::screencopy {

// A screen that always shows the same picture, for tests. It records every
// size it was asked for; given an error, every copy fails with it.
class FixedScreenCopy : public ImmediateScreenCopy {
public:
    explicit FixedScreenCopy(ScreenPicture picture) : picture_(std::move(picture)) {}
    static FixedScreenCopy failing(ScreenCopyError error);
    // The picture is the whole desktop at the compositor's own scale, as a
    // portal gives it: the primary screen is cut out of it at that scale,
    // whatever the toolkit believes.
    static FixedScreenCopy compositor(ScreenPicture desktop);

    std::string name() const override { return "fixed"; }
    ScreenPicture CopyScreen(int width, int height) override;
    ScreenStill copyPrimaryScreen(const ScreenLayout& layout) override;

    const std::vector<std::pair<int, int>>& requests() const { return requests_; }

private:
    ScreenPicture picture_;
    std::optional<ScreenCopyError> error_;
    bool compositor_ = false;
    std::vector<std::pair<int, int>> requests_;
};

}  // namespace tavlo::screencopy
