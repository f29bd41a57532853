#pragma once
#include "CopyScreenFrm.h"
#include "ScreenCopy.h"
#include "WindowPlacement.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace tavlo {

struct GlobalState;

// WM_COPYSCREEN: posted to the main window, so that the screen is copied only
// once the messages already queued (minimising and hiding it) have been
// handled.
inline constexpr QEvent::Type kCopyScreenEvent = QEvent::Type(5129);

// The screen capture from the command to the picture handed back: the
// question, the program's windows stepping aside, the copy of the screen
// (which ends from the event loop, never waited for), a capture window of
// its own over the still, and the windows brought back when it closes or
// the copy fails. The main window's handlers are a line each into it.
class CaptureController : public QObject {
    Q_OBJECT
public:
    // Where a capture stands. A command that finds one under way is ignored.
    enum class Phase {
        Idle,       // none under way
        Asking,     // the question is open
        Posting,    // WM_COPYSCREEN is on its way
        Copying,    // the screen is being copied
        Selecting,  // the capture window is open
    };

    // The answer to the question before the capture.
    enum class Choice {
        Minimise,  // the program steps aside, then the screen is copied
        InPlace,   // the screen is copied with the program on it
        Cancel,    // no capture
    };
    using AskMinimise = std::function<Choice(QWidget*)>;

    // `mainWindow` is the window the question belongs to, that steps aside
    // and that owns the capture windows; `state` and `showPicture` take a
    // sent selection (see TCopyScreenForm::setHandOver).
    CaptureController(QWidget& mainWindow, GlobalState& state, TCopyScreenForm::ShowPicture showPicture);
    ~CaptureController() override;

    // Where the screen's pixels come from: the session's own until set. Set
    // between captures; a copy replaced during one drops it.
    void setScreenCopy(std::unique_ptr<screencopy::ScreenCopy> screenCopy);
    // The question before the capture: a message box until set.
    void setAskMinimise(AskMinimise ask);
    // The fixed waits: before posting WM_COPYSCREEN (after hiding) and before
    // copying the screen. The program's windows are repainted and unmapped
    // during them, so that the copy shows none of their leftovers.
    void setWaits(std::chrono::milliseconds beforePost, std::chrono::milliseconds beforeCopy);
    // What puts the main window back in its place afterwards (the
    // compositor's IPC where it has one); none until set.
    void setWindowPlacement(std::unique_ptr<WindowPlacement> placement);

    Phase phase() const { return phase_; }

    // The screenshot command: asks, steps aside when asked to, then posts
    // WM_COPYSCREEN to the main window after the first wait; a cancelled
    // question ends it.
    void start();
    // On WM_COPYSCREEN: after the second wait, copies the screen; the
    // capture window opens when the copy has ended.
    void copyScreen();

signals:
    // The capture window is open over the still of the screen.
    void windowOpened(TCopyScreenForm* form);
    // The screen could not be copied; `text` is what the user was shown.
    void failed(const QString& text);
    // The capture is over (the window closed, or the copy failed) and the
    // program's windows are back.
    void finished();

private:
    void stepAside();
    void postCopyScreen();
    void grab();
    void stillTaken(screencopy::ScreenStill still);
    void copyFailed(const screencopy::ScreenCopyError& error);
    void bringBack();

    QWidget& main_;
    GlobalState& state_;
    TCopyScreenForm::ShowPicture showPicture_;
    std::unique_ptr<screencopy::ScreenCopy> screenCopy_;
    AskMinimise askMinimise_;
    std::chrono::milliseconds beforePost_{10};
    std::chrono::milliseconds beforeCopy_{50};
    std::unique_ptr<WindowPlacement> placement_;
    bool placeRemembered_ = false;
    // The program's other windows hidden for the capture, shown again after.
    std::vector<QPointer<QWidget>> steppedAside_;
    Phase phase_ = Phase::Idle;
};

}  // namespace tavlo
