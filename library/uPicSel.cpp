#include "uPicSel.h"

namespace tavlo {

TPicSelFrm::TPicSelFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TPicSelFrm"));
    setWindowTitle(QStringLiteral("背景图片选择"));
}

}  // namespace tavlo
