#pragma once
#include <QObject>

#include <functional>

namespace tavlo::app {

// An application-wide message filter: sees every event before its receiver
// does; a handler that sets `handled` keeps the event from its receiver.
// It is the program's one filter on the application (the windows' frames
// filter their own controls): only a filter there runs before every filter
// the browser engine puts on the widgets it makes, whenever it makes them.
class TApplicationEvents : public QObject {
    Q_OBJECT
public:
    using MessageHandler = std::function<void(QObject* target, QEvent* event, bool& handled)>;

    explicit TApplicationEvents(QObject* parent = nullptr);
    ~TApplicationEvents() override;

    void setOnMessage(MessageHandler handler) { onMessage_ = std::move(handler); }
    // Stops and resumes filtering (the handler is kept).
    void setActive(bool active);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MessageHandler onMessage_;
    bool active_ = false;
};

}  // namespace tavlo::app
