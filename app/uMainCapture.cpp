// The screen capture command: the main window's side of it.
#include "CaptureTexts.h"
#include "CopyScreenFrm.h"
#include "MainCapture.h"
#include "ScreenCopyFactory.h"
#include "Widgets.h"
#include "uMain.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

namespace tavlo::app {

namespace {

// WM_COPYSCREEN: posted, so that the screen is copied only once the messages
// already queued (minimising and hiding this window) have been handled.
constexpr QEvent::Type kCopyScreen = QEvent::Type(5129);

bool askMinimiseBox(QWidget* owner) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("提示"), QStringLiteral("     Tavlo 窗口最小化"),
                    QMessageBox::Ok | QMessageBox::Cancel, owner);
    box.setObjectName(QStringLiteral("captureQuestion"));
    widgets::describeButton(box, QMessageBox::Ok, QStringLiteral("确定"), QStringLiteral("最小化本窗口后截图"));
    widgets::describeButton(box, QMessageBox::Cancel, QStringLiteral("取消"),
                            QStringLiteral("不最小化本窗口，直接截图"));
    return box.exec() == QMessageBox::Ok;
}

// Waits while the program's own windows are unmapped and repainted (their
// window system events are handled); the user's input waits until after.
void settleFor(std::chrono::milliseconds wait) {
    if (wait.count() <= 0) return;
    QEventLoop loop;
    QTimer::singleShot(wait, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

// The primary screen as the toolkit describes it, in window pixels.
screencopy::ScreenLayout primaryScreenLayout() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect desktop = screen->virtualGeometry();
    return {screen->size().width(), screen->size().height(), screen->devicePixelRatio(), desktop.x(), desktop.y(),
            desktop.width(),        desktop.height()};
}

Q_LOGGING_CATEGORY(captureLog, "tavlo.capture")

}  // namespace

void TMainFrm::setScreenCopy(std::unique_ptr<screencopy::ScreenCopy> screenCopy) {
    capture_->screenCopy = std::move(screenCopy);
}

void TMainFrm::setAskMinimise(AskMinimise ask) {
    capture_->askMinimise = std::move(ask);
}

void TMainFrm::setCaptureWaits(std::chrono::milliseconds beforePost, std::chrono::milliseconds beforeCopy) {
    capture_->beforePost = beforePost;
    capture_->beforeCopy = beforeCopy;
}

void TMainFrm::setWindowPlacement(std::unique_ptr<WindowPlacement> placement) {
    capture_->placement = std::move(placement);
}

void TMainFrm::SpeedButton1Click() {
    const bool minimise = capture_->askMinimise ? capture_->askMinimise(this) : askMinimiseBox(this);
    if (minimise) {
        QCoreApplication::processEvents();
        if (!capture_->placement) capture_->placement = createSessionPlacement();
        capture_->placement->remember(*this);
        stepAsideForCapture();
        showMinimized();
        hide();
        settleFor(capture_->beforePost);
    }
    QCoreApplication::postEvent(this, new QEvent(kCopyScreen));
}

// Photographs the primary screen from (0, 0), in its physical pixels, and
// opens a capture window of its own over it.
void TMainFrm::Copyscreanform() {
    repaint();
    if (!capture_->screenCopy) capture_->screenCopy = screencopy::createSessionScreenCopy();
    settleFor(capture_->beforeCopy);
    screencopy::ScreenStill still;
    try {
        still = capture_->screenCopy->copyPrimaryScreen(primaryScreenLayout());
    } catch (const screencopy::ScreenCopyError& error) {
        qCWarning(captureLog, "the screen could not be copied: %s", error.what());
        showNormal();
        show();
        captureWindowClosed();  // the notes window comes back too
        showMessage(this, captureFailureText(error));
        return;
    }

    auto* form = new TCopyScreenForm(this);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setScreenPicture(std::move(still.picture), still.ratio);
    form->setHandOver(state_, [this](const std::filesystem::path&, imaging::Bitmap sent) {
        showPicture(HeldPicture(std::move(sent)));
    });
    connect(form, &TCopyScreenForm::closed, this, &TMainFrm::captureWindowClosed);
    form->move(0, 0);
    form->showFullScreen();
    form->activateWindow();
    form->setFocus();
}

// The whole program steps aside for the capture: its other windows (the
// notes window) are hidden with the main window.
void TMainFrm::stepAsideForCapture() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == this || !window->isVisible()) continue;
        const Qt::WindowType type = window->windowType();
        if (type != Qt::Window && type != Qt::Dialog) continue;
        capture_->steppedAside.emplace_back(window);
        window->hide();
    }
}

// The capture window brings the main window back when it closes; the other
// windows that stepped aside come back with it.
void TMainFrm::captureWindowClosed() {
    if (capture_->placement) capture_->placement->restore(*this);
    for (const QPointer<QWidget>& window : capture_->steppedAside)
        if (window) window->show();
    capture_->steppedAside.clear();
}

bool TMainFrm::event(QEvent* event) {
    if (event->type() == kCopyScreen) {
        Copyscreanform();
        return true;
    }
    return QWidget::event(event);
}

}  // namespace tavlo::app
