#pragma once
#include "ScreenCopy.h"

#include <optional>
#include <utility>

namespace tavlo::screencopy {

// A screen that always shows the same picture, for tests. It records every
// size it was asked for; given an error text, every copy fails with it.
class FixedScreenCopy : public ScreenCopy {
public:
    explicit FixedScreenCopy(ScreenPicture picture) : picture_(std::move(picture)) {}
    static FixedScreenCopy failing(std::string error);

    std::string name() const override { return "fixed"; }
    ScreenPicture CopyScreen(int width, int height) override;

    const std::vector<std::pair<int, int>>& requests() const { return requests_; }

private:
    ScreenPicture picture_;
    std::optional<std::string> error_;
    std::vector<std::pair<int, int>> requests_;
};

}  // namespace tavlo::screencopy
