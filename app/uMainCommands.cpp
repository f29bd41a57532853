// The main window's commands: insert a picture, apply it to the desktop,
// manage the background library.
#include "ApplyCommand.h"
#include "BmpFormat.h"
#include "ComposeTexts.h"
#include "MainTexts.h"
#include "MappedFile.h"
#include "Picture.h"
#include "PictureOpenDialog.h"
#include "WallpaperFactory.h"
#include "Widgets.h"
#include "uInfoFrm.h"
#include "uMain.h"
#include "uPicSel.h"

#include <QLabel>
#include <QLoggingCategory>
#include <QTimer>

#include <chrono>

namespace tavlo::app {

namespace {

Q_LOGGING_CATEGORY(insertLog, "tavlo.insert")

// picOpenDLg: BMP, JPEG, PNG and GIF files, whatever the case of their
// extension; several may be chosen.
std::vector<std::filesystem::path> choosePictureFiles(QWidget* parent, std::filesystem::path& lastFolder) {
    return widgets::choosePictures(parent, "picOpenDLg", QString::fromUtf8(texts::kPictureFilter), true, lastFolder);
}

// A BMP under another name is kept in its own format.
bool isBmpFile(const std::filesystem::path& path) {
    return imaging::detectFormat(MappedFile(path).bytes()) == imaging::PictureFormat::Bmp;
}

}  // namespace

void TMainFrm::attachDialogs(TPicSelFrm* picker, TInforFrm* confirmation) {
    picSelFrm_ = picker;
    inforFrm_ = confirmation;
}

void TMainFrm::setWallpaperBackend(std::unique_ptr<wallpaper::WallpaperBackend> backend) {
    wallpaper_ = std::move(backend);
}

wallpaper::WallpaperBackend& TMainFrm::wallpaperBackend() {
    if (!wallpaper_) wallpaper_ = wallpaper::createProgramBackend(state_.folder.root());
    return *wallpaper_;
}

// Insert picture: the chosen file is shown, turned into a BMP file that
// becomes the current picture, and remembered for the next start. The picture
// is decoded once: a JPEG, PNG or GIF is written as its BMP file while the
// part that is shown is kept, so that a large picture is never held whole.
void TMainFrm::btnInsertPicClick() {
    const auto files = chooseFiles_ ? chooseFiles_(this) : choosePictureFiles(this, state_.lastPictureFolder);
    if (files.empty()) return;
    const std::filesystem::path& chosen = files.front();
    std::error_code error;
    if (!std::filesystem::is_regular_file(chosen, error)) return;
    try {
        const std::string extension = lowerExtension(chosen);
        const bool png = extension == ".png";
        const bool converted = png || extension == ".jpg" || extension == ".jpeg" || extension == ".gif";
        if (converted && insertConverted(chosen, png)) return;
        showPicture(loadPicture(chosen));
        if (png) {
            SavePngAsBmp();
        } else if (extension == ".bmp") {
            state_.CurrentPicturePath = chosen;
        } else if (!converted) {
            state_.CurrentPicturePath.clear();
        } else if (isBmpFile(chosen)) {
            std::optional<imaging::Bitmap> whole;
            state_.CurrentPicturePath = writeInsertedPicture(currentPicture_->whole(whole), chosen, state_.folder);
        } else {
            // Only what the program's codecs read becomes a BMP file.
            throw imaging::ImageError("not a picture the program converts");
        }
        SaveTmpPic(state_);
        if (state_.CurrentPicturePath.empty()) throw imaging::ImageError("no BMP file for this picture");
    } catch (const std::exception& error) {
        qCWarning(insertLog, "%s", error.what());
        showMessage(this, texts::insertFailed());
    }
}

// A JPEG, PNG or GIF by content: shown and written as the current picture's
// BMP file: "tmp\tmp.bmp" for a PNG, beside the file or else in "tmp\" for
// the others. False when the content is none of them or the program's codecs
// cannot read it. Throws when no BMP can be written (it is shown then).
bool TMainFrm::insertConverted(const std::filesystem::path& chosen, bool png) {
    const std::vector<std::filesystem::path> targets =
        png ? std::vector{state_.folder.pathForWrite("tmp\\tmp.bmp")} : insertedPictureTargets(chosen, state_.folder);
    std::filesystem::path written;
    std::optional<HeldPicture> picture;
    try {
        picture = convertInsertedPicture(chosen, targets, pictureLimit(), written);
    } catch (const imaging::ImageError&) {
        return false;  // the usual way then: another reader may show it
    }
    if (!picture) return false;
    showPicture(std::move(*picture));
    if (png) state_.CurrentPicturePath = targets.front();  // named before it is written, as ever
    if (written.empty()) throw imaging::ImageError("the BMP file cannot be written");
    state_.CurrentPicturePath = written;
    SaveTmpPic(state_);
    return true;
}

// The picture shown, drawn over white where it was transparent, becomes
// "tmp\tmp.bmp".
void TMainFrm::SavePngAsBmp() {
    const std::filesystem::path target = state_.folder.pathForWrite("tmp\\tmp.bmp");
    state_.CurrentPicturePath = target;
    std::optional<imaging::Bitmap> whole;
    imaging::writeBmp(currentPicture_->whole(whole), target);
}

// Apply to desktop: confirmation, composition, wallpaper, next background.
void TMainFrm::imgAppToDeskClick() {
    ApplyCommand apply(
        state_, walk, wallpaperBackend(),
        [this] {
            if (inforFrm_) inforFrm_->ask();
        },
        monitorSource());
    const ApplyResult result = apply.runWithCurrentPicture(currentPicture_ ? &*currentPicture_ : nullptr);
    switch (result) {
    case ApplyResult::BackgroundUnreadable:
    case ApplyResult::NoPicture:
    case ApplyResult::NoBackground:
        showMessage(this, QString::fromStdString(compose::texts::applyMessage(result)));
        break;
    case ApplyResult::WallpaperNotSet:
        qWarning("tavlo: %s", apply.failureDetail().c_str());
        showErrorReport(this, QString::fromStdString(apply.failureMessage()));
        break;
    case ApplyResult::Applied: showApplied(); break;
    case ApplyResult::Declined: break;
    }
}

// Said in the window, not in a box, and gone by itself after a while.
void TMainFrm::showApplied() {
    constexpr std::chrono::seconds kShown{4};
    lblApplied->show();
    lblApplied->raise();
    QTimer::singleShot(kShown, lblApplied, &QWidget::hide);
}

// Background picker: a new choice makes the next apply use it; otherwise the
// walk starts again at the last entry.
void TMainFrm::imgAddToDeskClick() {
    if (!picSelFrm_) return;
    picSelFrm_->PickedBGFile() = walk.CurrentBGFile;
    picSelFrm_->pick();
    if (picSelFrm_->PickedBGFile() == walk.CurrentBGFile) {
        LoadBGList(false);
    } else {
        walk.CurrentBGFile = picSelFrm_->PickedBGFile();
        LoadBGList(true);
    }
}

void TMainFrm::LoadBGList(bool StartAtChoice) {
    tavlo::LoadBGList(state_, walk, StartAtChoice);
}

}  // namespace tavlo::app
