#pragma once
#include "GlobalState.h"

namespace tavlo {

// "Data\tmppic.ini": the current picture's path, one line.
// LoadTmpPic reads line 1 into CurrentPicturePath; a missing file is created
// holding one empty line, and a file without any line means no picture.
void LoadTmpPic(GlobalState& state);
// Replaces the file with the single line CurrentPicturePath.
void SaveTmpPic(const GlobalState& state);

}  // namespace tavlo
