#include "CaptureController.h"

#include "CaptureLog.h"
#include "CaptureTexts.h"
#include "MessageBoxes.h"
#include "ScreenCopyFactory.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <utility>

namespace tavlo {
namespace {

// Each button says what it does; Esc and the window's close are 取消, which
// captures nothing.
CaptureController::Choice askMinimiseBox(QWidget* owner) {
    const CaptureQuestion question = captureQuestion();
    QMessageBox box(QMessageBox::NoIcon, question.title, question.text, QMessageBox::NoButton, owner);
    box.setObjectName(QStringLiteral("captureQuestion"));
    const auto add = [&box](const QString& caption, const QString& tip, QMessageBox::ButtonRole role) {
        QPushButton* button = box.addButton(caption, role);
        button->setToolTip(tip);
        return button;
    };
    QPushButton* minimise = add(question.minimise, question.minimiseTip, QMessageBox::AcceptRole);
    QPushButton* inPlace = add(question.inPlace, question.inPlaceTip, QMessageBox::ActionRole);
    QPushButton* cancel = add(question.cancel, question.cancelTip, QMessageBox::RejectRole);
    box.setDefaultButton(minimise);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == minimise) return CaptureController::Choice::Minimise;
    if (box.clickedButton() == inPlace) return CaptureController::Choice::InPlace;
    return CaptureController::Choice::Cancel;
}

// The primary screen as the toolkit describes it, in window pixels.
screencopy::ScreenLayout primaryScreenLayout() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen->virtualGeometry();
    return {screen->size().width(), screen->size().height(), screen->devicePixelRatio(), desktop.x(), desktop.y(),
            desktop.width(),        desktop.height()};
}

}  // namespace

CaptureController::CaptureController(QWidget& mainWindow, GlobalState& state, TCopyScreenForm::ShowPicture showPicture)
    : main_(mainWindow), state_(state), showPicture_(std::move(showPicture)) {}

CaptureController::~CaptureController() = default;

void CaptureController::setScreenCopy(std::unique_ptr<screencopy::ScreenCopy> screenCopy) {
    screenCopy_ = std::move(screenCopy);
}

void CaptureController::setAskMinimise(AskMinimise ask) {
    askMinimise_ = std::move(ask);
}

void CaptureController::setWaits(std::chrono::milliseconds beforePost, std::chrono::milliseconds beforeCopy) {
    beforePost_ = beforePost;
    beforeCopy_ = beforeCopy;
}

void CaptureController::setWindowPlacement(std::unique_ptr<WindowPlacement> placement) {
    placement_ = std::move(placement);
}

void CaptureController::start() {
    if (phase_ != Phase::Idle) {
        qCDebug(captureLog, "a capture is under way: the command is ignored");
        return;
    }
    phase_ = Phase::Asking;
    const Choice choice = askMinimise_ ? askMinimise_(&main_) : askMinimiseBox(&main_);
    if (choice == Choice::Cancel) {
        phase_ = Phase::Idle;
        return;
    }
    phase_ = Phase::Posting;
    if (choice == Choice::InPlace) {
        postCopyScreen();
        return;
    }
    QCoreApplication::processEvents();  // what the question left queued
    if (placement_) placement_->remember(main_);
    placeRemembered_ = placement_ != nullptr;
    stepAside();
    main_.showMinimized();
    main_.hide();
    QTimer::singleShot(beforePost_, this, &CaptureController::postCopyScreen);
}

// The whole program steps aside for the capture: its other windows (the
// notes window) are hidden with the main window.
void CaptureController::stepAside() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == &main_ || !window->isVisible()) continue;
        const Qt::WindowType type = window->windowType();
        if (type != Qt::Window && type != Qt::Dialog) continue;
        steppedAside_.emplace_back(window);
        window->hide();
    }
}

void CaptureController::postCopyScreen() {
    QCoreApplication::postEvent(&main_, new QEvent(kCopyScreenEvent));
}

void CaptureController::copyScreen() {
    if (phase_ != Phase::Idle && phase_ != Phase::Posting) {
        qCDebug(captureLog, "a capture is under way: WM_COPYSCREEN is ignored");
        return;
    }
    phase_ = Phase::Copying;
    main_.repaint();
    if (!screenCopy_) screenCopy_ = screencopy::createSessionScreenCopy();
    QTimer::singleShot(beforeCopy_, this, &CaptureController::grab);
}

// The copy may end before grab() returns or long after; either way its end
// is handled from the event loop, and not at all once this is gone.
void CaptureController::grab() {
    const QPointer<CaptureController> self(this);
    screenCopy_->grab(
        primaryScreenLayout(),
        [self](screencopy::ScreenStill still) {
            if (!self) return;
            QMetaObject::invokeMethod(
                self.data(), [self, still = std::move(still)]() mutable { self->stillTaken(std::move(still)); },
                Qt::QueuedConnection);
        },
        [self](screencopy::ScreenCopyError error) {
            if (!self) return;
            QMetaObject::invokeMethod(
                self.data(), [self, error = std::move(error)] { self->copyFailed(error); }, Qt::QueuedConnection);
        });
}

// Opens a capture window of its own over the still, at the screen's origin.
void CaptureController::stillTaken(screencopy::ScreenStill still) {
    phase_ = Phase::Selecting;
    auto* form = new TCopyScreenForm(&main_);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setScreenPicture(std::move(still.picture), still.ratio);
    form->setHandOver(state_, showPicture_);
    connect(form, &TCopyScreenForm::closed, this, [this] {
        bringBack();
        emit finished();
    });
    form->move(0, 0);
    form->showFullScreen();
    form->activateWindow();
    form->setFocus();
    emit windowOpened(form);
}

// The developer's words go to the log; the user is told the cause in
// Chinese, with the program back on screen.
void CaptureController::copyFailed(const screencopy::ScreenCopyError& error) {
    qCWarning(captureLog, "the screen could not be copied: %s", error.what());
    main_.showNormal();
    main_.show();
    bringBack();
    const QString text = captureFailureText(error);
    widgets::showMessage(&main_, text);
    emit failed(text);
    emit finished();
}

// The capture window brings the main window back when it closes; the place
// it had and the other windows that stepped aside come back with it.
void CaptureController::bringBack() {
    if (placeRemembered_ && placement_) placement_->restore(main_);
    placeRemembered_ = false;
    for (const QPointer<QWidget>& window : steppedAside_)
        if (window) window->show();
    steppedAside_.clear();
    phase_ = Phase::Idle;
}

}  // namespace tavlo
