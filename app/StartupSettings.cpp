#include "StartupSettings.h"

#include "SettingsFile.h"

namespace tavlo::app {

void loadApplyConfirmation(GlobalState& state) {
    state.ConfirmApply = true;
    state.ApplyConfirmed = 0;
    state.ConfigSetBgPath = state.folder.path("data\\configSetBg.ini");
    const auto lines = readSettingsLines(state.ConfigSetBgPath);
    if (!lines) {
        writeDefaultSettingsLines(state.folder.pathForWrite("data\\configSetBg.ini"), {"1"});
        return;
    }
    if (lines->empty()) return;
    if (const auto value = parseInteger(lines->front())) state.ConfirmApply = *value > 0;
}

}  // namespace tavlo::app
