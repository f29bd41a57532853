#pragma once
#include <QLoggingCategory>

namespace tavlo {

// The capture's developer-facing messages: failures of the screen copy and
// of the hand-over, in the developer's terms.
Q_DECLARE_LOGGING_CATEGORY(captureLog)

}  // namespace tavlo
