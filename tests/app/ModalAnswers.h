#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

namespace tavlo::test {

// Answers the modal windows that a command opens while this object lives: a
// message box is read and closed with its one button; any other dialog, and
// a question (a box of several buttons) when there is an `answer`, is
// handed to `answer` (and rejected afterwards if it is still open, so that a
// failed answer cannot hang the test). It reacts to the dialogs being shown,
// without polling, and queues each answer with itself as the context: no
// answer can run once the object is gone.
class ModalAnswers : public QObject {
public:
    explicit ModalAnswers(std::function<void(QWidget*)> answer = {});
    ~ModalAnswers() override;

    // The texts of the message boxes answered so far, in order.
    std::vector<QString> messages;
    // Every text the answered windows showed, in order: titles, a box's text
    // and informative text, the captions of labels and buttons.
    std::vector<QString> shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void answerDialog(const QPointer<QWidget>& dialog);
    void recordShownTexts(QWidget* dialog);

    std::function<void(QWidget*)> answer_;
};

}  // namespace tavlo::test
