// The screen capture command: the main window's side of it.
#include "CopyScreenFrm.h"
#include "MainCapture.h"
#include "ScreenCopyFactory.h"
#include "Widgets.h"
#include "uMain.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
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

void TMainFrm::SpeedButton1Click() {
    const bool minimise = capture_->askMinimise ? capture_->askMinimise(this) : askMinimiseBox(this);
    if (minimise) {
        QCoreApplication::processEvents();
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
    QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen->devicePixelRatio();
    const QSize physical = screen->size() * ratio;
    if (!capture_->screenCopy) capture_->screenCopy = screencopy::createSessionScreenCopy();
    settleFor(capture_->beforeCopy);
    screencopy::ScreenPicture picture;
    try {
        picture = capture_->screenCopy->CopyScreen(physical.width(), physical.height());
    } catch (const screencopy::ScreenCopyError& error) {
        showNormal();
        show();
        showMessage(this, QStringLiteral("截取屏幕失败！\n") + QString::fromUtf8(error.what()));
        return;
    }

    auto* form = new TCopyScreenForm(this);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setScreenPicture(std::move(picture), ratio);
    form->setHandOver(state_, [this](const std::filesystem::path&, imaging::Bitmap sent) {
        showPicture(HeldPicture(std::move(sent)));
    });
    form->ReturnForm = this;
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
