#pragma once

namespace tavlo::app {

// A termination signal (a logout, `kill`, Ctrl+C in a terminal) ends the
// program the way its own exit does: the event loop ends, and what ending
// saves (the notes being edited) is saved, instead of being lost to the
// signal's default of ending the process on the spot. Call once, after the
// application object exists. Does nothing where there are no such signals.
void quitOnTerminationSignals();

}  // namespace tavlo::app
