#pragma once
// The shared unit in one include: the program-wide state, the current-picture
// file, the picture conversions and the path text of the settings files.
#include "CurrentPicture.h"
#include "GlobalState.h"
#include "PathText.h"
#include "PictureConversion.h"
