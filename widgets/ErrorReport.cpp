#include "ErrorReport.h"

#include <QMessageBox>

namespace tavlo::widgets {

void showErrorReport(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace tavlo::widgets
