#include "MessageBoxes.h"

#include <QMessageBox>

#include <exception>

namespace tavlo::widgets {

void showErrorReport(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

void showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, kApplicationTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

void runCommand(QWidget* owner, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        showErrorReport(owner, QString::fromUtf8(error.what()));
    }
}

}  // namespace tavlo::widgets
