#include "MessageBoxes.h"

#include <QAbstractButton>

#include <exception>

namespace tavlo::widgets {

namespace {

void showBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, kApplicationTitle, text, QMessageBox::Ok, parent);
    describeButton(box, QMessageBox::Ok, QStringLiteral("确定"), QStringLiteral("关闭提示"));
    box.exec();
}

}  // namespace

void describeButton(QMessageBox& box, QMessageBox::StandardButton which, const QString& caption, const QString& tip) {
    QAbstractButton* button = box.button(which);
    if (!button) return;
    button->setText(caption);
    button->setToolTip(tip);
}

void showErrorReport(QWidget* parent, const QString& text) {
    showBox(parent, QMessageBox::Critical, text);
}

void showMessage(QWidget* parent, const QString& text) {
    showBox(parent, QMessageBox::Warning, text);
}

void runCommand(QWidget* owner, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        showErrorReport(owner, QString::fromUtf8(error.what()));
    }
}

}  // namespace tavlo::widgets
