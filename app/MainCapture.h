#pragma once

namespace tavlo::app {

// What the main window keeps for the screen capture.
struct CaptureParts {};

}  // namespace tavlo::app
