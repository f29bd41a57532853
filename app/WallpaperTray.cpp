#include "WallpaperTray.h"
#include "WallpaperMenuTexts.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace tavlo::app {

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

WallpaperTray::WallpaperTray(AutoChange& autoChange, std::function<void()> showMain, std::function<void()> quit,
                             QObject* parent)
    : QObject(parent), autoChange_(autoChange), menu_(new QMenu) {
    menu_->setObjectName(QStringLiteral("trayMenu"));
    connect(menu_->addAction(text(texts::kNextWallpaper)), &QAction::triggered, &autoChange_, &AutoChange::next);
    connect(menu_->addAction(text(texts::kPreviousWallpaper)), &QAction::triggered, &autoChange_,
            &AutoChange::previous);
    pause_ = menu_->addAction(text(texts::kPause));
    connect(pause_, &QAction::triggered, this, [this] {
        try {
            autoChange_.setPaused(!autoChange_.schedule().paused);
        } catch (const std::exception&) {
            // The menu shows the state as it stayed.
        }
    });
    menu_->addSeparator();
    connect(menu_->addAction(text(texts::kShowMain)), &QAction::triggered, this, std::move(showMain));
    connect(menu_->addAction(text(texts::kQuit)), &QAction::triggered, this, std::move(quit));
    connect(menu_, &QMenu::aboutToShow, this, &WallpaperTray::showChoices);
    connect(&autoChange_, &AutoChange::scheduleChanged, this, &WallpaperTray::showChoices);
    showChoices();

    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    icon_ = new QSystemTrayIcon(QApplication::windowIcon(), this);
    icon_->setToolTip(QStringLiteral("Tavlo助手"));
    icon_->setContextMenu(menu_);
    icon_->show();
}

WallpaperTray::~WallpaperTray() {
    delete icon_;
    delete menu_;
}

bool WallpaperTray::shown() const {
    return icon_ && icon_->isVisible();
}

void WallpaperTray::showChoices() {
    const auto& schedule = autoChange_.schedule();
    pause_->setText(text(schedule.paused ? texts::kResume : texts::kPause));
    pause_->setEnabled(schedule.kind != wallpaper::WallpaperSchedule::Kind::Off);
}

}  // namespace tavlo::app
