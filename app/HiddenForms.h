#pragma once
#include <QWidget>

namespace tavlo::app {

// Two windows that are never shown: they only hold the pictures of the
// composition, whose work is done by the plain composition operations.
class TDeskBGSetFrm : public QWidget {
    Q_OBJECT
public:
    explicit TDeskBGSetFrm(QWidget* parent = nullptr);
};

class TPicPreviewFrm : public QWidget {
    Q_OBJECT
public:
    explicit TPicPreviewFrm(QWidget* parent = nullptr);
};

}  // namespace tavlo::app
