#pragma once

namespace tavlo::app {

// The main window's calendar and notes controls and their state.
struct NotesParts {};

}  // namespace tavlo::app
