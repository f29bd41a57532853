#include "CopyScreenFrm.h"

namespace tavlo {

TCopyScreenForm::TCopyScreenForm(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("TCopyScreenForm"));
}

}  // namespace tavlo
