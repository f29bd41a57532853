#pragma once

namespace tavlo::widgets {

// Sends the font names the windows ask for (宋体, 黑体, 微软雅黑, 幼圆, Arial,
// Arial Black) to installed faces of the same kind, instead of whatever the
// font matcher would guess.
void registerFontSubstitutions();

}  // namespace tavlo::widgets
