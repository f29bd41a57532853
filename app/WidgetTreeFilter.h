#pragma once
#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

namespace tavlo::app {

// A message filter on one widget and on every widget made inside it, then
// or later: it sees their events before they do, and a handler that sets
// `handled` keeps the event from its receiver. The browser engine makes the
// widget that takes a web view's input only when a page first shows (and
// again when the page moves to another renderer), and puts filters of its own
// on it; since the filter installed last runs first, this one steps in front
// of them again whenever the widget is shown.
class WidgetTreeFilter : public QObject {
    Q_OBJECT
public:
    using MessageHandler = std::function<void(QObject* target, QEvent* event, bool& handled)>;

    explicit WidgetTreeFilter(QObject* parent = nullptr);

    void setOnMessage(MessageHandler handler) { onMessage_ = std::move(handler); }
    // Filters `root` and its descendants from now on.
    void watch(QWidget* root);
    // Stops and resumes filtering (the handler and the tree are kept).
    void setActive(bool active);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchTree(QObject* object);

    MessageHandler onMessage_;
    QPointer<QWidget> root_;
    bool active_ = true;
};

}  // namespace tavlo::app
