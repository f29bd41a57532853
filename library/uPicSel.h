#pragma once
#include <QDialog>

namespace tavlo {

// The background picker: adds, removes and chooses backgrounds.
class TPicSelFrm : public QDialog {
    Q_OBJECT
public:
    explicit TPicSelFrm(QWidget* parent = nullptr);
};

}  // namespace tavlo
