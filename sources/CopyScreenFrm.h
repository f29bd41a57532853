#pragma once
#include <QWidget>

namespace tavlo {

// The screen capture window: a full-screen still of the screen in which the
// user cuts out a rectangle. Every capture makes one of its own.
class TCopyScreenForm : public QWidget {
    Q_OBJECT
public:
    explicit TCopyScreenForm(QWidget* parent = nullptr);
};

}  // namespace tavlo
