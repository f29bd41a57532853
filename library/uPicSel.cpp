#include "uPicSel.h"

#include "Artwork.h"
#include "BitmapQt.h"
#include "Command.h"
#include "Controls.h"
#include "LibraryTexts.h"
#include "MessageBoxes.h"
#include "PictureOpenDialog.h"
#include "TImage.h"
#include "WindowFrame.h"

#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>

namespace tavlo {

namespace texts = library::texts;

std::optional<std::filesystem::path> chooseBackgroundFile(QWidget* parent, std::filesystem::path& lastFolder) {
    const auto chosen =
        widgets::choosePictures(parent, "opgPic", QString::fromUtf8(texts::kPictureFilter), false, lastFolder);
    if (chosen.empty()) return std::nullopt;
    return chosen.front();
}

TPicSelFrm::TPicSelFrm(GlobalState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), picker_(state.folder),
      chooseFile_([&state](QWidget* owner) { return chooseBackgroundFile(owner, state.lastPictureFolder); }) {
    setObjectName(QStringLiteral("TPicSelFrm"));
    setWindowTitle(QString::fromUtf8(texts::kTitle));
    setFixedSize(524, 286);
    frame_ = new widgets::WindowFrame(this, 0);
    createControls();
}

void TPicSelFrm::createControls() {
    using widgets::make;
    using widgets::picture;
    using widgets::TImage;
    imgBG = picture(this, "imgBG", rect(), widgets::art::background);
    imgBG->setStretch(true);
    connect(imgBG, &TImage::mouseDown, this, [this](QMouseEvent* e) { frame_->startMove(e->globalPosition()); });
    connect(imgBG, &TImage::mouseMoved, this, [this] { showCloseFace(img_close_normal); });

    imgLogo = picture(this, "imgLogo", {5, 1, 200, 57}, widgets::art::logo);
    createCloseButton();

    Shape1 = make<widgets::TShape>(this, "Shape1", {8, 55, 321, 162}, Qt::transparent, QColor(64, 128, 128));
    LVpic = make<QTreeWidget>(this, "LVpic", {9, 56, 319, 160});
    LVpic->setColumnCount(1);
    LVpic->setHeaderLabels({QString::fromUtf8(texts::kListHeader)});
    LVpic->setColumnWidth(0, 300);
    LVpic->setHeaderHidden(true);
    LVpic->setRootIsDecorated(false);
    LVpic->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVpic->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVpic->setSelectionMode(QAbstractItemView::SingleSelection);
    LVpic->setFont(widgets::pixelFont(QStringLiteral("宋体"), 12));
    LVpic->setFrameShape(QFrame::NoFrame);

    lblTishi = make<QLabel>(this, "lblTishi", {360, 64, 145, 153});
    lblTishi->setFont(widgets::pixelFont(QStringLiteral("幼圆"), 15));
    lblTishi->setWordWrap(true);
    lblTishi->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTishi->setText(QString::fromUtf8(texts::kHint));

    btnRemove = make<QPushButton>(this, "btnRemove", {12, 240, 75, 25}, QString::fromUtf8(texts::kRemove));
    btnAdd = make<QPushButton>(this, "btnAdd", {108, 240, 75, 25}, QString::fromUtf8(texts::kAdd));
    btnOk = make<QPushButton>(this, "btnOk", {209, 240, 75, 25}, QString::fromUtf8(texts::kOk));
    // Enter from the list chooses; it never removes.
    btnOk->setDefault(true);
    describeControls();

    imgSel = make<TImage>(this, "imgSel", {});
    imgSel->move(408, 168);
    imgSel->hide();

    connect(btnAdd, &QPushButton::clicked, this, widgets::asCommand(this, &TPicSelFrm::btnAddClick));
    connect(btnRemove, &QPushButton::clicked, this, widgets::asCommand(this, &TPicSelFrm::btnRemoveClick));
    connect(btnOk, &QPushButton::clicked, this, widgets::asCommand(this, &TPicSelFrm::btnOkClick));
}

// What the controls are to the keyboard and screen readers. Enter presses
// the button that has the focus, and 确定 from the list.
void TPicSelFrm::describeControls() {
    LVpic->setAccessibleName(QString::fromUtf8(texts::kListName));
    btnRemove->setAccessibleName(QString::fromUtf8(texts::kRemoveName));
    btnRemove->setToolTip(QString::fromUtf8(texts::kRemoveTip));
    btnAdd->setAccessibleName(QString::fromUtf8(texts::kAddName));
    btnAdd->setToolTip(QString::fromUtf8(texts::kAddTip));
    btnOk->setAccessibleName(QString::fromUtf8(texts::kOkName));
    btnOk->setToolTip(QString::fromUtf8(texts::kOkTip));
    for (widgets::TImage* face : {img_close_normal, img_close_highlight, img_close_down}) {
        widgets::makeCommand(face, QString::fromUtf8(texts::kClose), QString::fromUtf8(texts::kClose));
        connect(face, &widgets::TImage::activated, this, &QDialog::reject);
    }
    widgets::setTabChain({LVpic, btnRemove, btnAdd, btnOk, img_close_normal, img_close_highlight, img_close_down});
}

// Normal at rest, highlighted under the mouse, pressed while held; a release
// over the button closes the picker.
void TPicSelFrm::createCloseButton() {
    using widgets::TImage;
    const auto face = [this](const char* name, const widgets::ArtworkPiece& art) {
        return widgets::picture(this, name, {484, 0, 39, 20}, art);
    };
    img_close_normal = face("img_close_normal", widgets::art::closeNormal);
    img_close_highlight = face("img_close_highlight", widgets::art::closeHighlight);
    img_close_down = face("img_close_down", widgets::art::closeDown);
    showCloseFace(img_close_normal);
    connect(img_close_normal, &TImage::mouseMoved, this, [this] { showCloseFace(img_close_highlight); });
    connect(img_close_highlight, &TImage::mouseDown, this, [this](QMouseEvent* e) {
        if (e->button() != Qt::LeftButton) return;
        showCloseFace(img_close_down);
        img_close_down->grabMouse();  // the release comes to the picture now shown
    });
    connect(img_close_down, &TImage::mouseUp, this, [this](QMouseEvent* e) {
        if (QWidget::mouseGrabber() == img_close_down) img_close_down->releaseMouse();
        const bool inside = img_close_down->rect().contains(e->position().toPoint());
        showCloseFace(img_close_normal);
        if (e->button() == Qt::LeftButton && inside) reject();
    });
}

void TPicSelFrm::showCloseFace(widgets::TImage* face) {
    face->setVisible(true);
    for (widgets::TImage* image : {img_close_normal, img_close_highlight, img_close_down}) {
        if (image == face) continue;
        // The keyboard's focus stays on the button, whichever face it shows.
        if (image->hasFocus()) face->setFocus(Qt::OtherFocusReason);
        image->setVisible(false);
    }
}

void TPicSelFrm::pick() {
    if (QWidget* owner = parentWidget()) move(owner->frameGeometry().center() - rect().center());
    LVpic->setFocus();
    exec();
}

void TPicSelFrm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    showCloseFace(img_close_normal);
    FillPicList();
}

void TPicSelFrm::FillPicList() {
    picker_.FillPicList();
    showItems();
}

void TPicSelFrm::showItems() {
    LVpic->clear();
    for (const std::string& name : picker_.items) new QTreeWidgetItem(LVpic, {QString::fromStdString(name)});
}

std::optional<int> TPicSelFrm::selectedItem() const {
    const QList<QTreeWidgetItem*> selected = LVpic->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return LVpic->indexOfTopLevelItem(selected.front());
}

void TPicSelFrm::btnAddClick() {
    const std::optional<std::filesystem::path> chosen = chooseFile_(this);
    if (!chosen || chosen->empty()) return;
    const BackgroundPicker::AddResult result = picker_.Add(*chosen);
    if (result == BackgroundPicker::AddResult::Added) {
        showItems();
        return;
    }
    // The message, then why: a retry cannot mend a file of another kind.
    QString text =
        QString::fromUtf8(result == BackgroundPicker::AddResult::Failed ? texts::kAddFailed : texts::kAddNotAPicture);
    if (!picker_.addCause.empty()) text += u'\n' + QString::fromStdString(picker_.addCause);
    widgets::showMessage(this, text);
}

// Asks before an entry leaves the list; the built-in background stays, and
// the user is told why.
void TPicSelFrm::btnRemoveClick() {
    const std::optional<int> selected = selectedItem();
    if (!selected || *selected >= static_cast<int>(picker_.items.size())) return;
    const QString name = QString::fromStdString(picker_.items[static_cast<std::size_t>(*selected)]);
    if (name == QLatin1String(kBuiltInBackground)) {
        picker_.Remove(selected);
        showItems();
        widgets::showMessage(this, QString::fromUtf8(texts::kBuiltInStays).arg(name));
        return;
    }
    if (!widgets::confirmStep(this, QString::fromUtf8(texts::kRemoveQuestion).arg(name),
                              QString::fromUtf8(texts::kRemoveConfirm), QString::fromUtf8(texts::kRemoveConfirmTip),
                              QString::fromUtf8(texts::kRemoveKeep), QString::fromUtf8(texts::kRemoveKeepTip)))
        return;
    picker_.Remove(selected);
    showItems();
}

void TPicSelFrm::btnOkClick() {
    picker_.Ok(selectedItem());
    accept();
}

}  // namespace tavlo
