#include "HiddenForms.h"

namespace tavlo::app {

TDeskBGSetFrm::TDeskBGSetFrm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TDeskBGSetFrm"));
}

TPicPreviewFrm::TPicPreviewFrm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TPicPreviewFrm"));
}

}  // namespace tavlo::app
