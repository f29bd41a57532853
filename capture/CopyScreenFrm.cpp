#include "CopyScreenFrm.h"

#include "BitmapQt.h"
#include "BmpFormat.h"
#include "CaptureLog.h"
#include "CaptureTexts.h"
#include "Controls.h"
#include "CurrentPicture.h"
#include "MessageBoxes.h"
#include "TCaptureMagnifier.h"
#include "TScreenImage.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include <cmath>

namespace tavlo {
namespace {

QLabel* infoLabel(QWidget* panel, const char* name, int y, const QString& text) {
    auto* label = new QLabel(text, panel);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(widgets::pixelFont(QStringLiteral("宋体"), 12));
    label->move(8, y);
    label->adjustSize();
    return label;
}

CaptureCursor cursorOf(const QWidget& widget) {
    switch (widget.cursor().shape()) {
    case Qt::SizeAllCursor: return CaptureCursor::Move;
    case Qt::CrossCursor: return CaptureCursor::Cross;
    default: return CaptureCursor::Arrow;
    }
}

Qt::CursorShape shapeOf(CaptureCursor cursor) {
    return cursor == CaptureCursor::Move ? Qt::SizeAllCursor : Qt::ArrowCursor;
}

// The picture of a ScreenPicture without copying its pixels: the image owns them.
QImage toImage(screencopy::ScreenPicture picture) {
    auto* pixels = new std::vector<std::uint32_t>(std::move(picture.pixels));
    return QImage(
        reinterpret_cast<uchar*>(pixels->data()), picture.width, picture.height,
        static_cast<qsizetype>(picture.width) * 4, QImage::Format_RGB32,
        [](void* owned) { delete static_cast<std::vector<std::uint32_t>*>(owned); }, pixels);
}

}  // namespace

TCopyScreenForm::TCopyScreenForm(QWidget* returnForm)
    : QWidget(returnForm, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), returnForm_(returnForm) {
    setObjectName(QStringLiteral("TCopyScreenForm"));
    setFocusPolicy(Qt::StrongFocus);
    CreateControls();
}

TCopyScreenForm::~TCopyScreenForm() = default;

// However the window closes, sent or not, the window it returns to comes
// back restored: a main window left hidden would have no way back.
void TCopyScreenForm::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (returnForm_) {
        returnForm_->showNormal();
        returnForm_->show();
        returnForm_->raise();
        returnForm_->activateWindow();
    }
    emit closed();
}

void TCopyScreenForm::CreateControls() {
    ImgScreen = new TScreenImage(picture_, this);
    ImgScreen->setObjectName(QStringLiteral("ImgScreen"));
    ImgScreen->setCursor(Qt::CrossCursor);
    connect(ImgScreen, &TScreenImage::mouseMoved, this, &TCopyScreenForm::ImgScreenMouseMove);
    connect(ImgScreen, &TScreenImage::mouseDown, this, &TCopyScreenForm::ImgScreenMouseDown);
    connect(ImgScreen, &TScreenImage::mouseUp, this, &TCopyScreenForm::ImgScreenMouseUp);
    connect(ImgScreen, &TScreenImage::doubleClicked, this, [this] { ImgScreenDblClick(); });

    PnlInfo = new QFrame(this);
    PnlInfo->setObjectName(QStringLiteral("PnlInfo"));
    PnlInfo->setGeometry(0, 0, 249, 99);
    PnlInfo->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PnlInfo->setLineWidth(1);
    PnlInfo->setAutoFillBackground(true);
    QPalette palette = PnlInfo->palette();
    palette.setColor(QPalette::Window, QColor(240, 251, 255));
    palette.setColor(QPalette::WindowText, Qt::black);
    PnlInfo->setPalette(palette);
    PnlInfo->setMouseTracking(true);
    const CaptureHints opening = hintsForState(SelectionState::None);
    LblRGB = infoLabel(PnlInfo, "LblRGB", 8, pixelReadout(255, 255, 255));
    LblActionInfo = infoLabel(PnlInfo, "LblActionInfo", 32, opening.action);
    LblCancelInfo = infoLabel(PnlInfo, "LblCancelInfo", 56, opening.cancel);
    Label1 = infoLabel(PnlInfo, "Label1", 80, QStringLiteral("按ESC键退出"));
    for (QLabel* label : {LblRGB, LblActionInfo, LblCancelInfo, Label1}) {
        label->setMouseTracking(true);
        label->installEventFilter(this);
    }
    PnlInfo->installEventFilter(this);

    LblSelSize = new QLabel(this);
    LblSelSize->setObjectName(QStringLiteral("LblSelSize"));
    LblSelSize->setAttribute(Qt::WA_TransparentForMouseEvents);
    LblSelSize->setStyleSheet(QStringLiteral("background: rgba(0, 0, 0, 170); color: white; padding: 1px 4px;"));
    LblSelSize->hide();

    Magnifier = new TCaptureMagnifier(picture_, this);
    Magnifier->setObjectName(QStringLiteral("Magnifier"));
    Magnifier->hide();
}

void TCopyScreenForm::setScreenPicture(screencopy::ScreenPicture picture, qreal devicePixelRatio) {
    ratio_ = devicePixelRatio > 0 ? devicePixelRatio : 1;
    picture_ = toImage(std::move(picture));
    picture_.setDevicePixelRatio(ratio_);
    // A picture finer than the window's pixels is shown shrunk: a frame of
    // one picture pixel would fall between them.
    selection_.setFrameWidth(std::max(1, static_cast<int>(std::lround(ratio_ / devicePixelRatioF()))));
    const QSize size = picture_.deviceIndependentSize().toSize();
    resize(size);
    ImgScreen->setGeometry(0, 0, size.width(), size.height());
    ImgScreen->update();
}

void TCopyScreenForm::setHandOver(GlobalState& state, ShowPicture showPicture) {
    state_ = &state;
    showPicture_ = std::move(showPicture);
}

QPoint TCopyScreenForm::toPicture(QPointF position) const {
    const int x = static_cast<int>(std::floor(position.x() * ratio_));
    const int y = static_cast<int>(std::floor(position.y() * ratio_));
    return {std::clamp(x, 0, picture_.width()), std::clamp(y, 0, picture_.height())};
}

// The panel keeps out of the pointer's way: it jumps between the left and the
// right edge of the screen.
void TCopyScreenForm::PnlInfoMouseMove() {
    const int left = PnlInfo->x() == 8 ? width() - PnlInfo->width() - 8 : 8;
    PnlInfo->move(left, PnlInfo->y());
}

bool TCopyScreenForm::eventFilter(QObject* watched, QEvent* event) {
    // Taken here, so that a move over a label does not reach the panel as well.
    if (event->type() == QEvent::MouseMove && watched->isWidgetType() &&
        (watched == PnlInfo || static_cast<QWidget*>(watched)->parentWidget() == PnlInfo)) {
        PnlInfoMouseMove();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TCopyScreenForm::ImgScreenMouseMove(QMouseEvent* event) {
    const QPoint logical = event->position().toPoint();
    const QRect panel = PnlInfo->geometry();
    if (panel.x() < logical.x() && logical.x() < panel.x() + panel.width() && panel.y() < logical.y() &&
        logical.y() < panel.y() + panel.height())
        PnlInfoMouseMove();

    const QPoint at = toPicture(event->position());
    ImgScreen->setCursor(shapeOf(selection_.mouseMove(at.x(), at.y())));
    if (!selection_.MouseHeld()) keyMoved_ = false;
    refresh();

    if (picture_.isNull()) return;
    const QPoint pixel(std::min(at.x(), picture_.width() - 1), std::min(at.y(), picture_.height() - 1));
    const QRgb rgb = picture_.pixel(pixel);
    LblRGB->setText(pixelReadout(qRed(rgb), qGreen(rgb), qBlue(rgb)));
    LblRGB->adjustSize();
    Magnifier->follow(logical, pixel);
    Magnifier->show();
    Magnifier->raise();
}

void TCopyScreenForm::ImgScreenMouseDown(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        CancelSelection();
        return;
    }
    const QPoint at = toPicture(event->position());
    selection_.mouseDown(at.x(), at.y(), cursorOf(*ImgScreen));
    refresh();
}

void TCopyScreenForm::ImgScreenMouseUp(QMouseEvent*) {
    selection_.mouseUp();
    refresh();
}

void TCopyScreenForm::ImgScreenDblClick() {
    if (selection_.SelState() == SelectionState::Made) SendSelection();
}

void TCopyScreenForm::CancelSelection() {
    const bool close = selection_.cancel();
    refresh();
    if (close) this->close();
}

void TCopyScreenForm::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: moveByKey(*event); return;
    default: break;
    }
    // Answered whether or not the main window stepped aside: Esc must end a
    // capture either way, and the hint promises Space and Enter.
    switch (event->key()) {
    case Qt::Key_Escape:
        selection_.escape();
        refresh();
        close();
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (selection_.SelState() == SelectionState::Made) SendSelection();
        break;
    default: return QWidget::keyPressEvent(event);
    }
}

// Arrow keys nudge a made selection: one pixel, ten with Shift.
void TCopyScreenForm::moveByKey(const QKeyEvent& event) {
    if (selection_.SelState() != SelectionState::Made || selection_.MouseHeld()) return;
    const int step = event.modifiers().testFlag(Qt::ShiftModifier) ? 10 : 1;
    const int dx = event.key() == Qt::Key_Left ? -step : event.key() == Qt::Key_Right ? step : 0;
    const int dy = event.key() == Qt::Key_Up ? -step : event.key() == Qt::Key_Down ? step : 0;
    selection_.moveBy(dx, dy);
    keyMoved_ = true;
    refresh();
}

// Shows what the selection changed: the hints, the repainted strips, the size.
void TCopyScreenForm::refresh() {
    const CaptureHints hints = hintsForState(selection_.SelState());
    LblActionInfo->setText(hints.action);
    LblActionInfo->adjustSize();
    LblCancelInfo->setText(hints.cancel);
    LblCancelInfo->adjustSize();
    for (const QRect& changed : selection_.takeDirty()) {
        const QRectF logical(changed.x() / ratio_, changed.y() / ratio_, changed.width() / ratio_,
                             changed.height() / ratio_);
        ImgScreen->update(logical.toAlignedRect());
    }
    showSelectionSize();
}

void TCopyScreenForm::showSelectionSize() {
    const bool moving = selection_.SelState() == SelectionState::Made && (selection_.MouseHeld() || keyMoved_);
    if (selection_.SelState() != SelectionState::Dragging && !moving) {
        LblSelSize->hide();
        return;
    }
    const QRect rect = selection_.normalised();
    LblSelSize->setText(selectionSizeText(rect.width(), rect.height()));
    LblSelSize->adjustSize();
    const QPoint corner(static_cast<int>(rect.x() / ratio_), static_cast<int>(rect.y() / ratio_));
    const int above = corner.y() - LblSelSize->height() - 2;
    LblSelSize->move(std::clamp(corner.x(), 0, std::max(0, width() - LblSelSize->width())),
                     above >= 0 ? above : corner.y() + 2);
    LblSelSize->show();
    LblSelSize->raise();
}

void TCopyScreenForm::SendSelection() {
    if (!state_) return;
    const std::optional<QImage> cut = selection_.cutSelection();
    if (!cut) return;
    std::filesystem::path path;
    imaging::Bitmap picture;
    try {
        path = state_->folder.pathForWrite("tmp\\tmp.bmp");
        picture = widgets::fromQImage(*cut);
        imaging::writeBmp(picture, path);
    } catch (const std::exception& error) {
        selection_.sendFailed();
        refresh();
        widgets::showFailure(this, error);
        return;
    }
    selection_.sent();
    handOver(path, std::move(picture));
    close();
}

// Each step on its own: whatever fails, the window still closes (and the
// main window comes back). The picture is in "tmp\tmp.bmp" by now; a step
// that fails costs only its own part (the path kept for the next start, or
// the picture shown now), which the log tells.
void TCopyScreenForm::handOver(const std::filesystem::path& path, imaging::Bitmap picture) {
    try {
        state_->CurrentPicturePath = path;
        SaveTmpPic(*state_);
    } catch (const std::exception& error) {
        qCWarning(captureLog, "the captured picture's path could not be kept: %s", error.what());
    }
    try {
        if (showPicture_) showPicture_(path, std::move(picture));
    } catch (const std::exception& error) {
        qCWarning(captureLog, "the captured picture could not be shown: %s", error.what());
    }
}

}  // namespace tavlo
