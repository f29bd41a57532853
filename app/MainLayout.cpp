// The main window's controls, placed as designed at a client size of
// 822 × 466; Anchors keeps them in place when the window is resized.
#include "MainTexts.h"
#include "WebPanel.h"
#include "Widgets.h"
#include "uMain.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

namespace tavlo::app {

namespace {

const QColor kFrameBlue(216, 227, 243);
const QColor kMaroon(128, 0, 0);

QWidget* panel(QWidget* parent, const char* name, QRect geometry, QColor colour) {
    auto* widget = make<QWidget>(parent, name, geometry);
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    return widget;
}

QToolButton* flatButton(QWidget* parent, const char* name, QRect geometry, const QString& caption) {
    auto* button = make<QToolButton>(parent, name, geometry);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

}  // namespace

void TMainFrm::CreateControls() {
    setFont(pixelFont(QStringLiteral("宋体"), 12));
    resize(kDesignClientSize);
    const QRect whole(QPoint(0, 0), kDesignClientSize);

    shpBG = make<TShape>(this, "shpBG", whole, Qt::white, kFrameBlue);
    anchors_.anchor(shpBG, Anchors::Left | Anchors::Top | Anchors::Right | Anchors::Bottom);
    imgBG = picture(this, "imgBG", whole, art::background);
    imgBG->setStretch(true);
    anchors_.anchor(imgBG, Anchors::Left | Anchors::Top | Anchors::Right | Anchors::Bottom);
    imgLogo = picture(this, "imgLogo", {52, 13, 200, 57}, art::logo);

    CreateCaptionButtons();
    CreateTopBar();
    CreateLeftColumn();
    CreateRightArea();
    CreateHiddenParts();
    CreateCalendarAndNotes();
    CreateMenus();
    // The commands row first, then the library, then the caption buttons
    // (each button's three faces side by side: one shows at a time).
    setTabChain({btnInsertPic, SpeedButton1, lblSet, imgAppToDesk, imgAddToDesk, img_mini_normal, img_mini_highlight,
                 img_mini_down, img_close_normal, img_close_highlight, img_close_down});
}

void TMainFrm::CreateCaptionButtons() {
    const int topRight = Anchors::Top | Anchors::Right;
    img_close_normal = picture(this, "img_close_normal", {782, 1, 39, 20}, art::closeNormal);
    img_close_highlight = picture(this, "img_close_highlight", {782, 1, 39, 20}, art::closeHighlight);
    img_close_down = picture(this, "img_close_down", {782, 1, 39, 20}, art::closeDown);
    img_mini_normal = picture(this, "img_mini_normal", {753, 1, 28, 20}, art::miniNormal);
    img_mini_highlight = picture(this, "img_mini_highlight", {752, 1, 28, 20}, art::miniHighlight);
    img_mini_down = picture(this, "img_mini_down", {752, 1, 28, 20}, art::miniDown);
    closeButton_ = {img_close_normal, img_close_highlight, img_close_down};
    miniButton_ = {img_mini_normal, img_mini_highlight, img_mini_down};
    for (TImage* image : {img_close_normal, img_close_highlight, img_close_down}) {
        anchors_.anchor(image, topRight);
        makeCommand(image, QString::fromUtf8(texts::kClose), QString::fromUtf8(texts::kClose));
    }
    for (TImage* image : {img_mini_normal, img_mini_highlight, img_mini_down}) {
        anchors_.anchor(image, topRight);
        makeCommand(image, QString::fromUtf8(texts::kMinimise), QString::fromUtf8(texts::kMinimise));
    }
    showCaptionFaces({});
}

void TMainFrm::CreateTopBar() {
    lblDateTime = make<QLabel>(this, "lblDateTime", {});
    lblDateTime->move(343, 19);
    lblDateTime->setFont(pixelFont(QStringLiteral("微软雅黑"), 12, true));
    QPalette palette = lblDateTime->palette();
    palette.setColor(QPalette::WindowText, kMaroon);
    lblDateTime->setPalette(palette);

    lblSet = make<TLabel>(this, "lblSet", {}, QString::fromUtf8(texts::kOptions));
    lblSet->setFont(pixelFont(QStringLiteral("宋体"), 12));
    lblSet->setCursor(Qt::PointingHandCursor);
    lblSet->adjustSize();
    lblSet->move(675, 56);
    anchors_.anchor(lblSet, Anchors::Top | Anchors::Right);
    makeCommand(lblSet, QString::fromUtf8(texts::kOptionsName), QString::fromUtf8(texts::kOptionsTip),
                CommandKind::MenuButton);

    imgAppToDesk = picture(this, "imgAppToDesk", {734, 45, 84, 29}, art::apply);
    imgAppToDesk->setCursor(Qt::PointingHandCursor);
    anchors_.anchor(imgAppToDesk, Anchors::Top | Anchors::Right);
    makeCommand(imgAppToDesk, QString::fromUtf8(texts::kApplyName), QString::fromUtf8(texts::kApplyTip));

    btnInsertPic = flatButton(this, "btnInsertPic", {328, 54, 64, 22}, QString::fromUtf8(texts::kInsert));
    btnInsertPic->setToolTip(QString::fromUtf8(texts::kInsertTip));
    SpeedButton1 = flatButton(this, "SpeedButton1", {394, 54, 64, 22}, QString::fromUtf8(texts::kCapture));
    SpeedButton1->setAccessibleName(QString::fromUtf8(texts::kCaptureName));
    SpeedButton1->setToolTip(QString::fromUtf8(texts::kCaptureTip));
}

void TMainFrm::CreateLeftColumn() {
    pnlLeft = make<QWidget>(this, "pnlLeft", {4, 80, 302, 441});
    shpLeft = make<TShape>(pnlLeft, "shpLeft", pnlLeft->rect(), kFrameBlue, kFrameBlue);
    pnlWeb = panel(pnlLeft, "pnlWeb", {1, 1, 300, 250}, Qt::white);
    imgAddToDesk = picture(pnlLeft, "imgAddToDesk", {54, 264, 200, 93}, art::addBackground);
    imgAddToDesk->setStretch(true);
    imgAddToDesk->setCursor(Qt::PointingHandCursor);
    makeCommand(imgAddToDesk, QString::fromUtf8(texts::kBackgroundsName), QString::fromUtf8(texts::kBackgroundsTip));
}

void TMainFrm::CreateRightArea() {
    pngRight = panel(this, "pngRight", {315, 80, 503, 381}, Qt::white);
    anchors_.anchor(pngRight, Anchors::Left | Anchors::Top | Anchors::Right | Anchors::Bottom);

    // The page control shows no tabs and never leaves its first page.
    pgcMain = make<QStackedWidget>(pngRight, "pgcMain", pngRight->rect());
    anchors_.anchor(pgcMain, Anchors::Left | Anchors::Top | Anchors::Right | Anchors::Bottom);
    ts_PicShow = make<QWidget>(pgcMain, "ts_PicShow", {});
    pgcMain->addWidget(ts_PicShow);
    lblPicHint = make<QLabel>(ts_PicShow, "lblPicHint", {40, 110, 415, 150}, QString::fromUtf8(texts::kPictureHint));
    lblPicHint->setWordWrap(true);
    lblPicHint->setAlignment(Qt::AlignCenter);
    lblPicHint->setFont(pixelFont(QStringLiteral("微软雅黑"), 14));
    QPalette hint = lblPicHint->palette();
    hint.setColor(QPalette::WindowText, QColor(0x55, 0x55, 0x55));  // 7:1 on white
    lblPicHint->setPalette(hint);
    imgPicMix = make<TImage>(ts_PicShow, "imgPicMix", {0, 0, 495, 371});
    imgPicMix->setAutoSize(true);
    imgPicMix->setStretch(true);
    imgPicMix->setCursor(Qt::PointingHandCursor);
    imgPicMix->setAccessibleName(QString::fromUtf8(texts::kCurrentPictureName));

    lblApplied = make<QLabel>(pngRight, "lblApplied", {0, 381 - 26, 503, 26}, QString::fromUtf8(texts::kApplied));
    lblApplied->setAlignment(Qt::AlignCenter);
    lblApplied->setFont(pixelFont(QStringLiteral("微软雅黑"), 13, true));
    lblApplied->setAutoFillBackground(true);
    QPalette notice = lblApplied->palette();
    notice.setColor(QPalette::Window, QColor(0x1f, 0x5f, 0xaf));  // white on it: 6.6:1
    notice.setColor(QPalette::WindowText, Qt::white);
    lblApplied->setPalette(notice);
    lblApplied->hide();
    anchors_.anchor(lblApplied, Anchors::Left | Anchors::Right | Anchors::Bottom);
}

void TMainFrm::CreateHiddenParts() {
    ts_PicMix = make<QWidget>(pgcMain, "ts_PicMix", {});
    pgcMain->addWidget(ts_PicMix);
    tsMain = make<QWidget>(pgcMain, "tsMain", {});
    pgcMain->addWidget(tsMain);
    pgcMain->setCurrentWidget(ts_PicShow);

    imgHint = make<TImage>(this, "imgHint", {});
    imgHint->hide();
    rdtMain = make<QTextEdit>(this, "rdtMain", {});
    rdtMain->hide();

    // Created disabled; nothing starts them.
    TmrSaveCopy = new QTimer(this);
    TmrSaveCopy->setObjectName(QStringLiteral("TmrSaveCopy"));
    TmrSaveCopy->setInterval(200);
    tmrAutoSave = new QTimer(this);
    tmrAutoSave->setObjectName(QStringLiteral("tmrAutoSave"));
    tmrAutoSave->setInterval(10000);

    webPanel_ = new WebPanel(pnlWeb, {-11, -16, 2000, 841}, ts_PicMix, this);
}

void TMainFrm::CreateMenus() {
    pmEmpty = new QMenu(this);
    pmEmpty->setObjectName(QStringLiteral("pmEmpty"));

    popSysset = new QMenu(this);
    popSysset->setObjectName(QStringLiteral("popSysset"));
    const auto item = [this](const char* name, const QString& caption) {
        QAction* action = popSysset->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    N_OutPutCon = item("N_OutPutCon", QString::fromUtf8(texts::kExportNotes));
    N_OutPutCon->setVisible(false);
    // The one way to the notes: a window of their own.
    N_CalNotes = item("N_CalNotes", QString::fromUtf8(texts::kCalendarNotes));
    N_help = item("N_help", QString::fromUtf8(texts::kHelp));
    N_Submit = item("N_Submit", QString::fromUtf8(texts::kFeedback));
    N4 = popSysset->addSeparator();
    N4->setObjectName(QStringLiteral("N4"));
    N_ExitPrj = item("N_ExitPrj", QString::fromUtf8(texts::kExit));
}

}  // namespace tavlo::app
