#include "uMain.h"

#include "AutoChange.h"
#include "CaptureController.h"
#include "DateLine.h"
#include "FormGeometry.h"
#include "MainTexts.h"
#include "NotesController.h"
#include "Picture.h"
#include "SiteAddress.h"
#include "StartupSettings.h"
#include "WallpaperTray.h"
#include "WebPanel.h"
#include "WidgetTreeFilter.h"
#include "Widgets.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPromise>
#include <QScreen>
#include <QThreadPool>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>

#include <filesystem>
#include <memory>
#include <optional>

namespace tavlo::app {

TMainFrm::TMainFrm(GlobalState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), state_(state),
      site_(std::make_unique<SiteAddress>(state.folder)), capture_(makeCaptureController()) {
    setObjectName(QStringLiteral("TMainFrm"));
    setWindowTitle(kApplicationTitle);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    shellOpen_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    terminate_ = [] { QCoreApplication::exit(0); };
    CreateControls();
    frame_ = new WindowFrame(this);
    frame_->setExempt([this](const QWidget* w) {
        return w == img_close_normal || w == img_close_highlight || w == img_close_down || w == img_mini_normal ||
               w == img_mini_highlight || w == img_mini_down;
    });
    setWindowingTraits(sessionWindowingTraits());
    // The web panel's message filter, on the browser view and whatever the
    // engine makes inside it.
    AppEvent1 = new WidgetTreeFilter(this);
    AppEvent1->setObjectName(QStringLiteral("AppEvent1"));
    AppEvent1->setOnMessage(
        [this](QObject* target, QEvent* event, bool& handled) { AppEvent1Message(target, event, handled); });
    connect(webPanel_, &WebPanel::viewsCreated, AppEvent1, [this] { AppEvent1->watch(webLink()); });
    ConnectHandlers();
    CreateWallpaperParts();
    FormCreate();
}

TMainFrm::~TMainFrm() = default;

QWebEngineView* TMainFrm::webLink() const {
    return webPanel_->webLink();
}

void TMainFrm::ConnectHandlers() {
    connect(shpBG, &TShape::painted, this, &TMainFrm::shapePainted);
    connect(imgBG, &TImage::mouseDown, this, &TMainFrm::imgBGMouseDown);
    connect(imgBG, &TImage::mouseMoved, this, &TMainFrm::imgBGMouseMove);
    connect(img_close_normal, &TImage::mouseMoved, this, &TMainFrm::img_close_normalMouseMove);
    connect(img_close_highlight, &TImage::mouseDown, this, &TMainFrm::img_close_highlightMouseDown);
    connect(img_close_highlight, &TImage::clicked, this, &TMainFrm::img_close_highlightClick);
    connect(img_close_down, &TImage::mouseUp, this, [this](QMouseEvent* e) { captionDownReleased(e, true); });
    connect(img_mini_normal, &TImage::mouseMoved, this, &TMainFrm::img_mini_normalMouseMove);
    connect(img_mini_highlight, &TImage::mouseDown, this, &TMainFrm::img_mini_highlightMouseDown);
    connect(img_mini_highlight, &TImage::clicked, this, &TMainFrm::img_mini_highlightClick);
    connect(img_mini_down, &TImage::mouseUp, this, [this](QMouseEvent* e) { captionDownReleased(e, false); });
    // From the keyboard or a screen reader, any face of a caption button runs it.
    for (const TImage* face : {img_close_normal, img_close_highlight, img_close_down})
        connect(face, &TImage::activated, this, &TMainFrm::img_close_highlightClick);
    for (const TImage* face : {img_mini_normal, img_mini_highlight, img_mini_down})
        connect(face, &TImage::activated, this, &TMainFrm::img_mini_highlightClick);
    connect(lblSet, &TLabel::clicked, this, &TMainFrm::lblSetClick);
    connect(lblSet, &TLabel::activated, this, &TMainFrm::lblSetClick);
    connect(N_help, &QAction::triggered, this, &TMainFrm::N_helpClick);
    connect(N_Submit, &QAction::triggered, this, &TMainFrm::N_SubmitClick);
    connect(N_ExitPrj, &QAction::triggered, this, &TMainFrm::N_ExitPrjClick);
    // The commands' failures that they do not catch go to the general error report.
    connect(btnInsertPic, &QToolButton::clicked, this, asCommand(this, &TMainFrm::btnInsertPicClick));
    connect(SpeedButton1, &QToolButton::clicked, this, asCommand(this, &TMainFrm::SpeedButton1Click));
    for (const auto signal : {&TImage::clicked, &TImage::activated}) {
        connect(imgAppToDesk, signal, this, asCommand(this, &TMainFrm::imgAppToDeskClick));
        connect(imgAddToDesk, signal, this, asCommand(this, &TMainFrm::imgAddToDeskClick));
    }
    ConnectNotes();
}

// A failure inside a start-up step ends that step and is shown by the general
// error report once the event loop runs; the window carries on.
void TMainFrm::runStep(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception& e) {
        const QString text = widgets::failureText(e);
        QTimer::singleShot(0, this, [this, text] { showErrorReport(this, text); });
    }
}

void TMainFrm::FormCreate() {
    runStep([this] {
        // Qt paints every widget double-buffered; nothing to switch on.
        webPanel_->navigateEditor(QUrl(QStringLiteral("about:blank")));
        walk.CurrentBGFile.clear();
        state_.PicBGList.clear();
        notes_->setNotePage(0);
        webPanel_->navigateLink(site_->page(SiteAddress::kStartPage));
        notes_->SetCalendarDate();
        lblDateTime->setText(QString::fromStdString(composeDateLine(localDay(state_.clock()))));
        lblDateTime->adjustSize();
    });
    // Each settings file in a step of its own: one that cannot be read must
    // not keep the others from loading.
    runStep([this] { LoadTmpPic(state_); });
    runStep([this] { loadApplyConfirmation(state_); });
    runStep([this] { LoadBGList(false); });
    runStep([this] { webPanel_->turnOnEditorDesignMode(); });
}

void TMainFrm::FormShow() {
    runStep([this] {
        LoadFormSize();
        LoadCurrentPicture();
    });
}

namespace {
// A picture read on a worker thread, or why it could not be.
struct LoadedPicture {
    std::optional<HeldPicture> picture;
    QString error;
};
}  // namespace

// The current picture of the last run is read on a worker thread: a large one
// must not keep the window from painting and answering meanwhile. A picture
// inserted before it arrives wins.
void TMainFrm::LoadCurrentPicture() {
    const std::filesystem::path path = state_.CurrentPicturePath;
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        emit currentPictureLoaded();
        return;
    }
    auto promise = std::make_shared<QPromise<LoadedPicture>>();
    auto* watcher = new QFutureWatcher<LoadedPicture>(this);
    const std::uint64_t generation = pictureGeneration_;
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        LoadedPicture loaded = watcher->future().takeResult();
        if (loaded.picture && generation == pictureGeneration_) showPicture(std::move(*loaded.picture));
        if (!loaded.error.isEmpty()) showErrorReport(this, loaded.error);
        emit currentPictureLoaded();
    });
    watcher->setFuture(promise->future());
    const HeldPicture::Limit limit = pictureLimit();
    QThreadPool::globalInstance()->start([promise, path, limit] {
        promise->start();
        LoadedPicture loaded;
        try {
            loaded.picture = HeldPicture::load(path, limit, readPictureWithQt);
        } catch (const std::exception& e) {
            loaded.error = widgets::failureText(e);
        }
        promise->addResult(std::move(loaded));
        promise->finish();
    });
}

// The control shows the held rows themselves, so the picture exists once.
void TMainFrm::showPicture(HeldPicture picture) {
    imgPicMix->setPicture(QImage());  // let go of the old rows before they go
    lblPicHint->hide();
    currentPicture_ = std::move(picture);
    imgPicMix->setPicturePart(widgets::pictureImage(currentPicture_->shown()),
                              QSize(currentPicture_->width(), currentPicture_->height()));
    ++pictureGeneration_;
}

// No more of a picture than the desktop's extent can be seen in the window,
// which shows it at its own size from its top-left corner.
HeldPicture::Limit TMainFrm::pictureLimit() const {
    const QScreen* desktop = screen();
    const QSize size = desktop ? desktop->virtualSize() : QSize();
    if (size.isEmpty()) return {4096, 4096};
    return {size.width(), size.height()};
}

HeldPicture TMainFrm::loadPicture(const std::filesystem::path& path) const {
    return HeldPicture::load(path, pictureLimit(), readPictureWithQt);
}

void TMainFrm::FormResize() {
    anchors_.apply(size());
}

// The remembered geometry and the current picture are taken at the first
// show only: a window restored after minimising keeps the place and size it
// had, instead of jumping back to where it was last closed.
void TMainFrm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    if (!formShown_) {
        formShown_ = true;
        FormShow();
    }
    // The show event comes before the window is mapped: the compositor sees
    // the held size when it decides whether to tile the window.
    if (windowing_.tiling) frame_->holdSize(minimumSize());
}

void TMainFrm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TMainFrm::shapePainted() {
    if (firstPaintSeen_) return;
    firstPaintSeen_ = true;
    // Posted, so that the painted window reaches the screen before the
    // browser engine starts.
    QTimer::singleShot(0, this, [this] {
        emit firstPainted();
        webPanel_->createViews();
    });
}

void TMainFrm::lblSetClick() {
    const QPoint corner = lblSet->mapToGlobal(QPoint(0, lblSet->height()));
    if (!lblSetHasMenu_) {
        lblSetHasMenu_ = true;
        lblSet->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(lblSet, &QWidget::customContextMenuRequested, this,
                [this](const QPoint& pos) { popUpOptions(lblSet->mapToGlobal(pos)); });
    }
    popUpOptions(corner);
}

// The keyboard's focus goes back where it was when the menu closes: the
// window manager's reactivation of the window would put it on the first
// control of the window.
void TMainFrm::popUpOptions(QPoint at) {
    const QPointer<QWidget> from = focusWidget();
    connect(
        popSysset, &QMenu::aboutToHide, this,
        [this, from] {
            QTimer::singleShot(0, this, [from] {
                if (from && from->isVisible()) from->setFocus(Qt::PopupFocusReason);
            });
        },
        Qt::SingleShotConnection);
    popSysset->popup(at);
}

void TMainFrm::N_helpClick() {
    openInBrowser(site_->page(SiteAddress::kHelpPage));
}

void TMainFrm::N_SubmitClick() {
    openInBrowser(site_->page(SiteAddress::kFeedbackPage));
}

// Without a browser the menu item would seem to do nothing: say so.
void TMainFrm::openInBrowser(const QUrl& page) {
    if (!shellOpen_(page)) showMessage(this, texts::noBrowser(page.toString(QUrl::PreferLocalFile)));
}

void TMainFrm::N_ExitPrjClick() {
    // Ends the program at once; unlike the close button it keeps no geometry.
    terminate_();
}

namespace {
bool isRightButtonMessage(const QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: return static_cast<const QMouseEvent*>(event)->button() == Qt::RightButton;
    case QEvent::ContextMenu:
        // The menu request that a right press or release turns into.
        return static_cast<const QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse;
    default: return false;
    }
}
}  // namespace

void TMainFrm::AppEvent1Message(QObject* target, QEvent* event, bool& Handled) {
    Handled = false;
    if (!isRightButtonMessage(event)) return;
    QWebEngineView* link = webLink();
    auto* widget = qobject_cast<QWidget*>(target);
    if (!link || !widget) return;
    // The empty menu that would pop up here shows nothing, and a Qt popup
    // would grab the mouse and eat the next click: so nothing is popped up.
    Handled = widget == link || link->isAncestorOf(widget);
}

}  // namespace tavlo::app
