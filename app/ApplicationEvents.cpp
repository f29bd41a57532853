#include "ApplicationEvents.h"

#include <QCoreApplication>

namespace tavlo::app {

TApplicationEvents::TApplicationEvents(QObject* parent) : QObject(parent) {
    setActive(true);
}

TApplicationEvents::~TApplicationEvents() {
    setActive(false);
}

void TApplicationEvents::setActive(bool active) {
    if (active == active_ || !QCoreApplication::instance()) return;
    active_ = active;
    if (active) {
        QCoreApplication::instance()->installEventFilter(this);
    } else {
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

bool TApplicationEvents::eventFilter(QObject* watched, QEvent* event) {
    bool handled = false;
    if (onMessage_) onMessage_(watched, event, handled);
    return handled;
}

}  // namespace tavlo::app
