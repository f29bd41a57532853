// The screen capture command: the main window's handlers, each a line into
// the capture controller.
#include "CaptureController.h"
#include "SwayPlacement.h"
#include "uMain.h"

namespace tavlo::app {

std::unique_ptr<CaptureController> TMainFrm::makeCaptureController() {
    auto capture = std::make_unique<CaptureController>(
        *this, state_,
        [this](const std::filesystem::path&, imaging::Bitmap sent) { showPicture(HeldPicture(std::move(sent))); });
    capture->setWindowPlacement(createSessionPlacement());
    return capture;
}

void TMainFrm::SpeedButton1Click() {
    capture_->start();
}

// Photographs the primary screen from (0, 0), in its physical pixels, and
// opens a capture window of its own over it.
void TMainFrm::Copyscreanform() {
    capture_->copyScreen();
}

bool TMainFrm::event(QEvent* event) {
    if (event->type() == kCopyScreenEvent) {
        Copyscreanform();
        return true;
    }
    return QWidget::event(event);
}

}  // namespace tavlo::app
