#pragma once
#include "BGList.h"
#include "BmpFormat.h"
#include "SettingsFile.h"
#include "uGlobal.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tavlo::test {

// A background list of `entries` lines, b0.bmp .. bN.bmp, each 100 × 50 in
// flat grey 10·k, so that a composite's corner tells which one an apply
// used; read into the state, the walk where a start puts it, no question.
inline void useGreyBackgrounds(GlobalState& state, BackgroundWalk& walk, int entries) {
    std::vector<std::string> lines;
    for (int k = 0; k < entries; ++k) {
        const std::string name = "b" + std::to_string(k) + ".bmp";
        lines.push_back(name);
        imaging::Bitmap b(100, 50, 24);
        std::fill(b.pixels().begin(), b.pixels().end(), static_cast<std::uint8_t>(10 * k));
        imaging::writeBmp(b, state.folder.pathForWrite("source\\DeskTopBG\\" + name));
    }
    writeSettingsLines(state.folder.pathForWrite("Data\\BGPicList.ini"), lines);
    LoadBGList(state, walk, false);
    state.ConfirmApply = false;
}

}  // namespace tavlo::test
