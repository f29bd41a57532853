#pragma once
#include "uGlobal.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace tavlo::widgets {
class TImage;
class TShape;
class WindowFrame;
}  // namespace tavlo::widgets

namespace tavlo {

// The question asked before the wallpaper is changed. Created once and shown
// modally again on each use; its check box keeps its state between showings.
// The answer goes to ApplyConfirmed: 1 only when "确  定" was pressed.
class TInforFrm : public QDialog {
    Q_OBJECT
public:
    TInforFrm(GlobalState& state, QWidget* parent = nullptr);

    // Shows the dialog centred on its parent and waits for the answer.
    void ask();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The controls are the dialog's own; tests find them by object name.
    widgets::TShape* shpBG = nullptr;
    widgets::TImage* imgques = nullptr;
    QLabel* lblInfo = nullptr;
    QCheckBox* chkSetBgInfo = nullptr;
    QPushButton* btnok = nullptr;
    QPushButton* btncancel = nullptr;
    QPushButton* btnClose = nullptr;

    void btnokClick();
    void btncancelClick();
    void btnCloseClick();
    void shpBGMouseDown(QMouseEvent* event);
    void describeControls();

    GlobalState& state_;
    widgets::WindowFrame* frame_ = nullptr;
};

}  // namespace tavlo
