#pragma once
#include "AutoChange.h"
#include "ProgramFolder.h"

#include <QObject>

#include <functional>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace tavlo::app {

// The wallpaper's items of the options menu: how the background is laid on
// the monitors, whether the picture goes on the primary monitor alone, and
// the automatic change with next, previous and pause. Each item shows the
// stored choice when the menu opens.
class WallpaperMenu : public QObject {
    Q_OBJECT
public:
    // Adds the two submenus to `menu` before `before`; dialogs and messages
    // open over `window`.
    WallpaperMenu(QMenu* menu, QAction* before, const ProgramFolder& folder, AutoChange& autoChange, QWidget* window);

    // Asks for the time of the daily change; false when cancelled.
    using AskTime = std::function<bool(int& hour, int& minute)>;
    void setAskTime(AskTime ask) { askTime_ = std::move(ask); }

private:
    void buildFitMenu(QMenu* menu);
    void buildAutoChangeMenu(QMenu* menu);
    void showChoices();
    void chooseSchedule(const wallpaper::WallpaperSchedule& schedule);

    const ProgramFolder& folder_;
    AutoChange& autoChange_;
    QWidget* window_;
    AskTime askTime_;
    std::vector<std::pair<QAction*, FitMode>> fitActions_;
    QAction* primaryOnly_ = nullptr;
    std::vector<std::pair<QAction*, wallpaper::WallpaperSchedule>> scheduleActions_;
    QAction* daily_ = nullptr;
    QAction* pause_ = nullptr;
};

}  // namespace tavlo::app
