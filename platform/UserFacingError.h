#pragma once
#include <stdexcept>

namespace tavlo {

// A failure whose what() is written for the user (Chinese, whatever the
// locale), so that a message box may show it as it stands. Failures of any
// other kind carry a developer's account that belongs in the log.
class UserFacingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tavlo
