#pragma once
#include "BGList.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace tavlo::widgets {
class TImage;
class TShape;
class WindowFrame;
}  // namespace tavlo::widgets

namespace tavlo {

// The background picker: lists the library, adds pictures to it, removes
// entries and chooses the background. Created once and shown modally again;
// what it leaves is PickedBGFile and the rewritten list file.
class TPicSelFrm : public QDialog {
    Q_OBJECT
public:
    // Its open dialog shares the folder of the last picture chosen with the
    // program's others (state.lastPictureFolder).
    TPicSelFrm(GlobalState& state, QWidget* parent = nullptr);

    // The open dialog of Add: the chosen file, or nothing when cancelled.
    using ChooseFile = std::function<std::optional<std::filesystem::path>(QWidget*)>;
    void setChooseFile(ChooseFile choose) { chooseFile_ = std::move(choose); }

    // Shows the picker centred on its parent until it is closed.
    void pick();

    std::string& PickedBGFile() { return picker_.PickedBGFile; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The controls are the picker's own; tests find them by object name.
    widgets::TImage* imgBG = nullptr;
    widgets::TImage* imgLogo = nullptr;
    widgets::TImage* img_close_normal = nullptr;
    widgets::TImage* img_close_highlight = nullptr;
    widgets::TImage* img_close_down = nullptr;
    widgets::TShape* Shape1 = nullptr;
    QTreeWidget* LVpic = nullptr;
    QLabel* lblTishi = nullptr;
    QPushButton* btnRemove = nullptr;
    QPushButton* btnAdd = nullptr;
    QPushButton* btnOk = nullptr;
    widgets::TImage* imgSel = nullptr;

    void FillPicList();
    void btnAddClick();
    void btnRemoveClick();
    void btnOkClick();

    void createControls();
    void createCloseButton();
    void describeControls();
    void showCloseFace(widgets::TImage* face);
    void showItems();
    std::optional<int> selectedItem() const;

    BackgroundPicker picker_;
    ChooseFile chooseFile_;
    widgets::WindowFrame* frame_ = nullptr;
};

// The open dialog that Add shows: BMP, JPEG and GIF files, in any case,
// starting in `lastFolder` (see widgets::choosePictures).
std::optional<std::filesystem::path> chooseBackgroundFile(QWidget* parent, std::filesystem::path& lastFolder);

}  // namespace tavlo
