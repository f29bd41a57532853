#include "uInfoFrm.h"

namespace tavlo {

TInforFrm::TInforFrm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TInforFrm"));
}

}  // namespace tavlo
