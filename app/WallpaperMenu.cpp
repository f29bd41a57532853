#include "WallpaperMenu.h"
#include "MessageBoxes.h"
#include "WallpaperMenuTexts.h"
#include "WallpaperOptions.h"
#include "WallpaperTexts.h"

#include <QActionGroup>
#include <QInputDialog>
#include <QMenu>
#include <QTime>

namespace tavlo::app {

using wallpaper::WallpaperSchedule;

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

WallpaperSchedule every(int minutes) {
    WallpaperSchedule schedule;
    schedule.kind = WallpaperSchedule::Kind::Every;
    schedule.minutes = minutes;
    return schedule;
}

WallpaperSchedule of(WallpaperSchedule::Kind kind) {
    WallpaperSchedule schedule;
    schedule.kind = kind;
    return schedule;
}

// "08:30" in a small dialog of Qt's own, in Chinese like the rest.
bool askTimeOfDay(QWidget* parent, int& hour, int& minute) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent, text(texts::kDailyTitle), text(texts::kDailyLabel), QLineEdit::Normal,
                              QTime(hour, minute).toString(QStringLiteral("HH:mm")), &ok);
    if (!ok) return false;
    const QTime time = QTime::fromString(answer.trimmed(), QStringLiteral("H:mm"));
    if (!time.isValid()) return false;
    hour = time.hour();
    minute = time.minute();
    return true;
}

}  // namespace

WallpaperMenu::WallpaperMenu(QMenu* menu, QAction* before, const ProgramFolder& folder, AutoChange& autoChange,
                             QWidget* window)
    : QObject(menu), folder_(folder), autoChange_(autoChange), window_(window) {
    askTime_ = [this](int& hour, int& minute) { return askTimeOfDay(window_, hour, minute); };
    auto* fit = new QMenu(text(texts::kFitMenu), menu);
    fit->setObjectName(QStringLiteral("N_WallpaperFit"));
    buildFitMenu(fit);
    menu->insertMenu(before, fit);
    auto* change = new QMenu(text(texts::kAutoChangeMenu), menu);
    change->setObjectName(QStringLiteral("N_AutoChange"));
    buildAutoChangeMenu(change);
    menu->insertMenu(before, change);
    connect(menu, &QMenu::aboutToShow, this, &WallpaperMenu::showChoices);
    connect(&autoChange_, &AutoChange::scheduleChanged, this, &WallpaperMenu::showChoices);
    showChoices();
}

void WallpaperMenu::buildFitMenu(QMenu* menu) {
    auto* group = new QActionGroup(menu);
    const std::pair<FitMode, const char*> modes[] = {{FitMode::Stretch, texts::kFitStretch},
                                                     {FitMode::Fill, texts::kFitFill},
                                                     {FitMode::Fit, texts::kFitFit},
                                                     {FitMode::Center, texts::kFitCenter},
                                                     {FitMode::Tile, texts::kFitTile}};
    for (const auto& [mode, caption] : modes) {
        QAction* action = menu->addAction(text(caption));
        action->setCheckable(true);
        action->setObjectName(QStringLiteral("N_Fit_") + QString::fromLatin1(fitModeWord(mode).data()));
        group->addAction(action);
        fitActions_.emplace_back(action, mode);
        connect(action, &QAction::triggered, this, [this, mode = mode] {
            WallpaperOptions options = WallpaperOptions::read(folder_);
            options.mode = mode;
            widgets::runCommand(window_, [&] { options.write(folder_); });
        });
    }
    menu->addSeparator();
    primaryOnly_ = menu->addAction(text(texts::kPrimaryOnly));
    primaryOnly_->setObjectName(QStringLiteral("N_PrimaryOnly"));
    primaryOnly_->setCheckable(true);
    connect(primaryOnly_, &QAction::triggered, this, [this](bool checked) {
        WallpaperOptions options = WallpaperOptions::read(folder_);
        options.pictureOnEveryMonitor = !checked;
        widgets::runCommand(window_, [&] { options.write(folder_); });
    });
}

void WallpaperMenu::buildAutoChangeMenu(QMenu* menu) {
    auto* group = new QActionGroup(menu);
    const std::pair<WallpaperSchedule, const char*> choices[] = {
        {of(WallpaperSchedule::Kind::Off), texts::kAutoOff},
        {every(15), texts::kAutoEvery15},
        {every(30), texts::kAutoEvery30},
        {every(60), texts::kAutoEvery60},
        {every(180), texts::kAutoEvery180},
        {of(WallpaperSchedule::Kind::Login), texts::kAutoLogin}};
    for (const auto& [schedule, caption] : choices) {
        QAction* action = menu->addAction(text(caption));
        action->setCheckable(true);
        group->addAction(action);
        scheduleActions_.emplace_back(action, schedule);
        connect(action, &QAction::triggered, this, [this, schedule = schedule] { chooseSchedule(schedule); });
    }
    daily_ = new QAction(text(texts::kAutoDaily), menu);
    daily_->setCheckable(true);
    group->addAction(daily_);
    menu->insertAction(scheduleActions_.back().first, daily_);  // before "每次登录时"
    connect(daily_, &QAction::triggered, this, [this] {
        WallpaperSchedule schedule = of(WallpaperSchedule::Kind::Daily);
        const WallpaperSchedule& current = autoChange_.schedule();
        schedule.hour = current.kind == WallpaperSchedule::Kind::Daily ? current.hour : 8;
        schedule.minute = current.kind == WallpaperSchedule::Kind::Daily ? current.minute : 0;
        if (askTime_(schedule.hour, schedule.minute))
            chooseSchedule(schedule);
        else
            showChoices();
    });
    menu->addSeparator();
    QAction* next = menu->addAction(text(texts::kNextWallpaper));
    next->setObjectName(QStringLiteral("N_NextWallpaper"));
    connect(next, &QAction::triggered, &autoChange_, &AutoChange::next);
    QAction* previous = menu->addAction(text(texts::kPreviousWallpaper));
    previous->setObjectName(QStringLiteral("N_PreviousWallpaper"));
    connect(previous, &QAction::triggered, &autoChange_, &AutoChange::previous);
    pause_ = menu->addAction(text(texts::kPause));
    pause_->setObjectName(QStringLiteral("N_PauseAutoChange"));
    pause_->setCheckable(true);
    connect(pause_, &QAction::triggered, this,
            [this](bool paused) { widgets::runCommand(window_, [&] { autoChange_.setPaused(paused); }); });
}

void WallpaperMenu::chooseSchedule(const WallpaperSchedule& schedule) {
    try {
        autoChange_.setSchedule(schedule);
    } catch (const wallpaper::WallpaperError& error) {
        widgets::showMessage(window_, text(texts::kScheduleFailed) + QString::fromStdString(error.cause()));
    } catch (const std::exception& error) {
        widgets::showMessage(window_, text(texts::kScheduleFailed) + widgets::failureText(error));
    }
    showChoices();
}

void WallpaperMenu::showChoices() {
    const WallpaperOptions options = WallpaperOptions::read(folder_);
    for (const auto& [action, mode] : fitActions_) action->setChecked(mode == options.mode);
    primaryOnly_->setChecked(!options.pictureOnEveryMonitor);
    WallpaperSchedule current = autoChange_.schedule();
    current.paused = false;
    daily_->setChecked(current.kind == WallpaperSchedule::Kind::Daily);
    if (current.kind == WallpaperSchedule::Kind::Daily)
        daily_->setText(text(texts::kAutoDaily).chopped(1) +
                        QStringLiteral("（%1）").arg(QString::fromStdString(current.words().substr(6))));
    else
        daily_->setText(text(texts::kAutoDaily));
    for (const auto& [action, schedule] : scheduleActions_) action->setChecked(schedule == current);
    pause_->setEnabled(current.kind != WallpaperSchedule::Kind::Off);
    pause_->setChecked(autoChange_.schedule().paused);
}

}  // namespace tavlo::app
