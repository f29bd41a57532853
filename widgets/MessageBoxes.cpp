#include "MessageBoxes.h"

#include "Bitmap.h"
#include "UserFacingError.h"
#include "WidgetTexts.h"

#include <QAbstractButton>
#include <QLoggingCategory>
#include <QPushButton>

#include <new>

namespace tavlo::widgets {

namespace {

Q_LOGGING_CATEGORY(failureLog, "tavlo.failure")

void showBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, kApplicationTitle, text, QMessageBox::Ok, parent);
    describeButton(box, QMessageBox::Ok, texts::okCaption(), texts::okTip());
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

QString failureText(const std::exception& error) {
    if (dynamic_cast<const UserFacingError*>(&error)) return QString::fromUtf8(error.what());
    qCWarning(failureLog, "%s", error.what());
    if (const auto* image = dynamic_cast<const imaging::ImageError*>(&error))
        return QString::fromStdString(image->cause());
    if (dynamic_cast<const std::bad_alloc*>(&error)) return texts::outOfMemory();
    return texts::internalFailure();
}

void showFailure(QWidget* parent, const std::exception& error) {
    showErrorReport(parent, failureText(error));
}

void showMessage(QWidget* parent, const QString& text) {
    showBox(parent, QMessageBox::Warning, text);
}

bool confirmStep(QWidget* parent, const QString& text, const QString& doIt, const QString& doItTip, const QString& keep,
                 const QString& keepTip) {
    QMessageBox box(QMessageBox::Question, kApplicationTitle, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(doIt, QMessageBox::AcceptRole);
    yes->setToolTip(doItTip);
    QPushButton* no = box.addButton(keep, QMessageBox::RejectRole);
    no->setToolTip(keepTip);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void runCommand(QWidget* owner, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        showFailure(owner, error);
    }
}

}  // namespace tavlo::widgets
