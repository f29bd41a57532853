// The screen capture command: the main window's side of it.
#include "MainCapture.h"
#include "uMain.h"

#include <QEvent>

namespace tavlo::app {

void TMainFrm::SpeedButton1Click() {}

void TMainFrm::Copyscreanform() {}

bool TMainFrm::event(QEvent* event) {
    // WM_COPYSCREEN, posted by the capture command.
    if (event->type() == QEvent::Type(5129)) {
        Copyscreanform();
        return true;
    }
    return QWidget::event(event);
}

}  // namespace tavlo::app
