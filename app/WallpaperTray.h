#pragma once
#include "AutoChange.h"

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace tavlo::app {

// The icon in the desktop's tray while the program runs (a
// StatusNotifierItem or the X11 tray): next and previous wallpaper, pause or
// resume the automatic change, the main window, quit. Where the desktop has
// no tray, nothing is shown.
class WallpaperTray : public QObject {
    Q_OBJECT
public:
    WallpaperTray(AutoChange& autoChange, std::function<void()> showMain, std::function<void()> quit,
                  QObject* parent = nullptr);
    ~WallpaperTray() override;

    // Whether an icon is shown (a tray exists).
    bool shown() const;
    QMenu* menu() const { return menu_; }

private:
    void showChoices();

    AutoChange& autoChange_;
    QMenu* menu_ = nullptr;
    QAction* pause_ = nullptr;
    QSystemTrayIcon* icon_ = nullptr;
};

}  // namespace tavlo::app
