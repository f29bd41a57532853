// The main window's commands: insert a picture, apply it to the desktop,
// manage the background library.
#include "ApplyCommand.h"
#include "BmpFormat.h"
#include "Picture.h"
#include "PictureOpenDialog.h"
#include "WallpaperFactory.h"
#include "Widgets.h"
#include "uInfoFrm.h"
#include "uMain.h"
#include "uPicSel.h"

namespace tavlo::app {

namespace {

const QString kInsertFailed = QStringLiteral("加载该图片失败！");

// picOpenDLg: BMP, JPEG, PNG and GIF files, whatever the case of their
// extension; several may be chosen.
std::vector<std::filesystem::path> choosePictureFiles(QWidget* parent, std::filesystem::path& lastFolder) {
    return widgets::choosePictures(parent, "picOpenDLg",
                                   QStringLiteral("All(*.bmp;*.Jpg;*.PNG;*.JPEG;*.Gif;) (*.[bB][mM][pP] *.[jJ][pP][gG] "
                                                  "*.[pP][nN][gG] *.[jJ][pP][eE][gG] *.[gG][iI][fF])"),
                                   true, lastFolder);
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
    if (!wallpaper_) wallpaper_ = wallpaper::createSessionBackend();
    return *wallpaper_;
}

// Insert picture: the chosen file is shown, turned into a BMP file that
// becomes the current picture, and remembered for the next start. The picture
// is decoded once: the BMP file is written from the picture shown, so it holds
// exactly what is shown and is not read back.
void TMainFrm::btnInsertPicClick() {
    const auto files = chooseFiles_ ? chooseFiles_(this) : choosePictureFiles(this, state_.lastPictureFolder);
    if (files.empty()) return;
    const std::filesystem::path& chosen = files.front();
    std::error_code error;
    if (!std::filesystem::is_regular_file(chosen, error)) return;
    try {
        widgets::ShownPicture loaded = widgets::loadPictureForShowing(chosen);
        showPicture(std::move(loaded.bitmap));
        const std::string extension = lowerExtension(chosen);
        if (extension == ".png") {
            SavePngAsBmp();
        } else if (extension == ".bmp") {
            state_.CurrentPicturePath = chosen;
        } else if (extension == ".jpg" || extension == ".jpeg" || extension == ".gif") {
            // Only what the program's codecs read becomes a BMP file.
            if (!loaded.ownCodec) throw imaging::ImageError("not a picture the program converts");
            state_.CurrentPicturePath = writeInsertedPicture(*shownPicture_, chosen, state_.folder);
        } else {
            state_.CurrentPicturePath.clear();
        }
        SaveTmpPic(state_);
        if (state_.CurrentPicturePath.empty()) throw imaging::ImageError("no BMP file for this picture");
    } catch (const std::exception&) {
        showMessage(this, kInsertFailed);
    }
}

// The picture shown, drawn over white where it was transparent, becomes
// "tmp\tmp.bmp".
void TMainFrm::SavePngAsBmp() {
    const std::filesystem::path target = state_.folder.pathForWrite("tmp\\tmp.bmp");
    state_.CurrentPicturePath = target;
    imaging::writeBmp(*shownPicture_, target);
}

// Apply to desktop: confirmation, composition, wallpaper, next background.
void TMainFrm::imgAppToDeskClick() {
    ApplyCommand apply(state_, walk, wallpaperBackend(), [this] {
        if (inforFrm_) inforFrm_->ask();
    });
    switch (apply.run(shownPicture_ ? &*shownPicture_ : nullptr)) {
    case ApplyResult::BackgroundUnreadable: showMessage(this, QStringLiteral("加载失败！")); break;
    case ApplyResult::NoPicture: showMessage(this, QStringLiteral("请先插入图片或截图，再更换壁纸。")); break;
    case ApplyResult::NoBackground: showMessage(this, QStringLiteral("没有可用的背景图片，请先添加背景图片。")); break;
    case ApplyResult::Applied:
    case ApplyResult::Declined: break;
    }
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
