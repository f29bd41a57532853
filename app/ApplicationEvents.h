#pragma once
#include <QObject>

#include <functional>

namespace tavlo::app {

// An application-wide message filter: sees every event before its receiver
// does; a handler that sets `handled` keeps the event from its receiver.
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
