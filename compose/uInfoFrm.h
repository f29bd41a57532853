#pragma once
#include <QDialog>

namespace tavlo {

// The confirmation dialog shown before the wallpaper is changed.
class TInforFrm : public QDialog {
    Q_OBJECT
public:
    explicit TInforFrm(QWidget* parent = nullptr);
};

}  // namespace tavlo
