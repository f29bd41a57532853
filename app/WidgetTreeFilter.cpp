#include "WidgetTreeFilter.h"

#include <QChildEvent>
#include <QWidget>

namespace tavlo::app {

WidgetTreeFilter::WidgetTreeFilter(QObject* parent) : QObject(parent) {}

void WidgetTreeFilter::watch(QWidget* root) {
    root_ = root;
    if (active_ && root) watchTree(root);
}

void WidgetTreeFilter::setActive(bool active) {
    if (active == active_) return;
    active_ = active;
    if (!root_) return;
    if (active) {
        watchTree(root_);
        return;
    }
    root_->removeEventFilter(this);
    for (QWidget* widget : root_->findChildren<QWidget*>()) widget->removeEventFilter(this);
}

// Installing again moves this filter to the front of the object's filters.
void WidgetTreeFilter::watchTree(QObject* object) {
    object->installEventFilter(this);
    for (QWidget* widget : object->findChildren<QWidget*>()) widget->installEventFilter(this);
}

bool WidgetTreeFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (auto* child = static_cast<QChildEvent*>(event)->child(); child->isWidgetType()) watchTree(child);
        break;
    case QEvent::Show: watched->installEventFilter(this); break;
    default: break;
    }
    bool handled = false;
    if (onMessage_) onMessage_(watched, event, handled);
    return handled;
}

}  // namespace tavlo::app
