#pragma once
#include <QMessageBox>
#include <QString>

#include <exception>
#include <functional>

class QWidget;

namespace tavlo::widgets {

// The application's title, also the caption of every message box.
inline const QString kApplicationTitle = QStringLiteral("Tavlo助手");

// Gives a box's button its Chinese caption (also where the toolkit has no
// translation), which screen readers read as its name, and a tooltip that
// says what it does.
void describeButton(QMessageBox& box, QMessageBox::StandardButton which, const QString& caption, const QString& tip);

// The general error report: a failure that no command caught, shown with its
// own text in a message box with one OK button.
void showErrorReport(QWidget* parent, const QString& text);

// What the user is told of a failure: its own text where that is written for
// the user, a picture's cause in the user's terms, otherwise a general
// sentence. The developer's account goes to the log (tavlo.failure), never
// into a box.
QString failureText(const std::exception& error);

// The general error report for a failure (see failureText).
void showFailure(QWidget* parent, const std::exception& error);

// A command's message to the user, in a box with one OK button.
void showMessage(QWidget* parent, const QString& text);

// A question before a step that cannot be taken back: true only when the
// user presses `doIt`; Enter and Esc alike choose `keep`, the safe answer.
bool confirmStep(QWidget* parent, const QString& text, const QString& doIt, const QString& doItTip, const QString& keep,
                 const QString& keepTip);

// Runs one command handler. A failure it did not catch itself ends the
// command and is shown by the general error report; the program goes on.
void runCommand(QWidget* owner, const std::function<void()>& handler);

// A slot that runs owner->handler() as a command, for connecting controls.
template <class Owner>
auto asCommand(Owner* owner, void (Owner::*handler)()) {
    return [owner, handler] { runCommand(owner, [owner, handler] { (owner->*handler)(); }); };
}

}  // namespace tavlo::widgets
