// The main window's controls, placed as designed at a client size of
// 822 × 466; Anchors keeps them in place when the window is resized.
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
        makeCommand(image, QStringLiteral("关闭"), QStringLiteral("关闭"));
    }
    for (TImage* image : {img_mini_normal, img_mini_highlight, img_mini_down}) {
        anchors_.anchor(image, topRight);
        makeCommand(image, QStringLiteral("最小化"), QStringLiteral("最小化"));
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

    lblSet = make<TLabel>(this, "lblSet", {}, QStringLiteral("|  选项"));
    lblSet->setFont(pixelFont(QStringLiteral("宋体"), 12));
    lblSet->setCursor(Qt::PointingHandCursor);
    lblSet->adjustSize();
    lblSet->move(675, 56);
    anchors_.anchor(lblSet, Anchors::Top | Anchors::Right);
    makeCommand(lblSet, QStringLiteral("选项"), QStringLiteral("打开选项菜单"), CommandKind::MenuButton);

    imgAppToDesk = picture(this, "imgAppToDesk", {734, 45, 84, 29}, art::apply);
    imgAppToDesk->setCursor(Qt::PointingHandCursor);
    anchors_.anchor(imgAppToDesk, Anchors::Top | Anchors::Right);
    makeCommand(imgAppToDesk, QStringLiteral("应用到桌面"), QStringLiteral("把当前图片贴到背景图片上，设为桌面壁纸"));

    btnInsertPic = flatButton(this, "btnInsertPic", {328, 54, 64, 22}, QStringLiteral("插入图片"));
    btnInsertPic->setToolTip(QStringLiteral("插入一张图片（BMP、JPEG、PNG 或 GIF）作为当前图片"));
    SpeedButton1 = flatButton(this, "SpeedButton1", {394, 54, 64, 22}, QStringLiteral("截  图"));
    SpeedButton1->setAccessibleName(QStringLiteral("截图"));
    SpeedButton1->setToolTip(QStringLiteral("截取屏幕上的一块区域作为当前图片"));
}

void TMainFrm::CreateLeftColumn() {
    pnlLeft = make<QWidget>(this, "pnlLeft", {4, 80, 302, 441});
    shpLeft = make<TShape>(pnlLeft, "shpLeft", pnlLeft->rect(), kFrameBlue, kFrameBlue);
    pnlWeb = panel(pnlLeft, "pnlWeb", {1, 1, 300, 250}, Qt::white);
    imgAddToDesk = picture(pnlLeft, "imgAddToDesk", {54, 264, 200, 93}, art::addBackground);
    imgAddToDesk->setStretch(true);
    imgAddToDesk->setCursor(Qt::PointingHandCursor);
    makeCommand(imgAddToDesk, QStringLiteral("添加背景图片"), QStringLiteral("添加、移除或选用背景图片"));
}

void TMainFrm::CreateRightArea() {
    pngRight = panel(this, "pngRight", {315, 80, 503, 381}, Qt::white);
    anchors_.anchor(pngRight, Anchors::Left | Anchors::Top | Anchors::Right | Anchors::Bottom);

    // The page control shows no tabs and never leaves its first page.
    pgcMain = make<QStackedWidget>(pngRight, "pgcMain", pngRight->rect());
    anchors_.anchor(pgcMain, Anchors::Left | Anchors::Top | Anchors::Right | Anchors::Bottom);
    ts_PicShow = make<QWidget>(pgcMain, "ts_PicShow", {});
    pgcMain->addWidget(ts_PicShow);
    imgPicMix = make<TImage>(ts_PicShow, "imgPicMix", {0, 0, 495, 371});
    imgPicMix->setAutoSize(true);
    imgPicMix->setStretch(true);
    imgPicMix->setCursor(Qt::PointingHandCursor);
    imgPicMix->setAccessibleName(QStringLiteral("当前图片"));
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
    N_OutPutCon = item("N_OutPutCon", QStringLiteral("内容导出"));
    N_OutPutCon->setVisible(false);
    // The one way to the notes: a window of their own.
    N_CalNotes = item("N_CalNotes", QStringLiteral("日历记事"));
    N_help = item("N_help", QStringLiteral("帮助说明"));
    N_Submit = item("N_Submit", QStringLiteral("意见反馈"));
    N4 = popSysset->addSeparator();
    N4->setObjectName(QStringLiteral("N4"));
    N_ExitPrj = item("N_ExitPrj", QStringLiteral("退出程序"));
}

}  // namespace tavlo::app
