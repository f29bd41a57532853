#include "ModalAnswers.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace tavlo::test {

ModalAnswers::ModalAnswers(std::function<void(QWidget*)> answer) : answer_(std::move(answer)) {
    qApp->installEventFilter(this);
}

ModalAnswers::~ModalAnswers() {
    qApp->removeEventFilter(this);
}

bool ModalAnswers::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && dialog->isWindow()) {
            // Queued: it runs inside the dialog's own event loop, once that runs.
            QMetaObject::invokeMethod(
                this, [this, shown = QPointer<QWidget>(dialog)] { answerDialog(shown); }, Qt::QueuedConnection);
        }
    }
    return false;
}

void ModalAnswers::recordShownTexts(QWidget* dialog) {
    shown.push_back(dialog->windowTitle());
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        shown.push_back(box->text());
        shown.push_back(box->informativeText());
    }
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        if (label->isVisible()) shown.push_back(label->text());
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (button->isVisible()) shown.push_back(button->text());
}

void ModalAnswers::answerDialog(const QPointer<QWidget>& dialog) {
    if (!dialog || !dialog->isVisible()) return;
    recordShownTexts(dialog);
    auto* box = qobject_cast<QMessageBox*>(dialog.data());
    // A question (a box of several buttons) is the test's to answer.
    if (box && !(answer_ && box->buttons().size() > 1)) {
        messages.push_back(box->text());
        EXPECT_EQ(box->buttons().size(), 1) << box->text().toStdString();
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            ok->click();
        } else {
            box->reject();
        }
        return;
    }
    if (answer_) answer_(dialog);
    if (dialog && dialog->isVisible()) static_cast<QDialog*>(dialog.data())->reject();
}

}  // namespace tavlo::test
