#pragma once
#include "uGlobal.h"

namespace tavlo::app {

// The apply command's confirmation state as start-up sets it: on, unless
// "data\configSetBg.ini" holds an integer of 0 or less on its first line. A
// missing file is created holding "1"; a file whose first line is missing or
// not an integer leaves confirmation on and is not touched.
void loadApplyConfirmation(GlobalState& state);

}  // namespace tavlo::app
