// The main window's calendar and notes: the day and week editors, their
// commands and the calendar whose date keys the day notes.
#include "MainNotes.h"
#include "uDM.h"
#include "uMain.h"

namespace tavlo::app {

// The calendar `chnRili`, the day-note panel `pnlABC` (at 49, 398 in
// pngRight, below its visible area) and the week notes on `tsMain`; none of
// them is shown in the window's own layout.
void TMainFrm::CreateCalendarAndNotes() {}

void TMainFrm::attachDataModule(TDM*) {}

void TMainFrm::SetCalendarDate() {}

}  // namespace tavlo::app
