#include "CaptureLog.h"

namespace tavlo {

Q_LOGGING_CATEGORY(captureLog, "tavlo.capture")

}  // namespace tavlo
