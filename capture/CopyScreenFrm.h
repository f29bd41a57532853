#pragma once
#include "Bitmap.h"
#include "CaptureSelection.h"
#include "ScreenCopy.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <filesystem>
#include <functional>

class QFrame;
class QLabel;

namespace tavlo {

struct GlobalState;
class TScreenImage;
class TCaptureMagnifier;

// The screen capture window: a full-screen still of the screen in which the
// user cuts out a rectangle. Every capture makes one of its own.
class TCopyScreenForm : public QWidget {
    Q_OBJECT
public:
    // `returnForm` (the main window) owns the window and is shown again,
    // restored, when it closes.
    explicit TCopyScreenForm(QWidget* returnForm);
    ~TCopyScreenForm() override;

    // The still, in physical pixels, and how many of them make one window
    // pixel. The window takes the picture's size in window pixels.
    void setScreenPicture(screencopy::ScreenPicture picture, qreal devicePixelRatio);
    const QImage& screenPicture() const { return picture_; }

    // Where a sent selection goes: the program state (CurrentPicturePath,
    // "Data\tmppic.ini", "tmp\tmp.bmp") and the main window's picture, which
    // is handed the file written and the picture in it (not read back).
    using ShowPicture = std::function<void(const std::filesystem::path&, imaging::Bitmap)>;
    void setHandOver(GlobalState& state, ShowPicture showPicture);

    const CaptureSelection& selection() const { return selection_; }

    void ImgScreenMouseMove(QMouseEvent* event);
    void ImgScreenMouseDown(QMouseEvent* event);
    void ImgScreenMouseUp(QMouseEvent* event);
    void ImgScreenDblClick();
    void PnlInfoMouseMove();
    void CancelSelection();
    void SendSelection();

signals:
    // The window closed, whether a selection was sent or not.
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The controls, found by their object names (their own names) from outside.
    TScreenImage* ImgScreen = nullptr;
    QFrame* PnlInfo = nullptr;
    QLabel* LblRGB = nullptr;
    QLabel* LblActionInfo = nullptr;
    QLabel* LblCancelInfo = nullptr;
    QLabel* Label1 = nullptr;
    // Beyond the hints: the selection's size and the magnifier.
    QLabel* LblSelSize = nullptr;
    TCaptureMagnifier* Magnifier = nullptr;

    void CreateControls();
    QPoint toPicture(QPointF position) const;
    void moveByKey(const QKeyEvent& event);
    void refresh();
    void showSelectionSize();
    void handOver(const std::filesystem::path& path, imaging::Bitmap picture);

    QPointer<QWidget> returnForm_;
    QImage picture_;
    qreal ratio_ = 1;
    CaptureSelection selection_{picture_};
    GlobalState* state_ = nullptr;
    ShowPicture showPicture_;
    bool keyMoved_ = false;
};

}  // namespace tavlo
