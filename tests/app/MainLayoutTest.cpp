// Every visible control at its place, size, font, colour and anchors; the
// hidden parts exist and stay hidden.
#include "Widgets.h"
#include "WindowTestSupport.h"

#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace tavlo;

namespace {

struct Placement {
    const char* name;
    QRect designRect;
    bool followsRight;  // anchored to the right edge
};

const Placement kPlacements[] = {
    {"imgLogo", {52, 13, 200, 57}, false},           {"img_close_normal", {782, 1, 39, 20}, true},
    {"img_close_highlight", {782, 1, 39, 20}, true}, {"img_close_down", {782, 1, 39, 20}, true},
    {"img_mini_normal", {753, 1, 28, 20}, true},     {"img_mini_highlight", {752, 1, 28, 20}, true},
    {"img_mini_down", {752, 1, 28, 20}, true},       {"imgAppToDesk", {734, 45, 84, 29}, true},
    {"btnInsertPic", {328, 54, 64, 22}, false},      {"SpeedButton1", {394, 54, 64, 22}, false},
    {"pnlLeft", {4, 80, 302, 441}, false},           {"pnlWeb", {1, 1, 300, 250}, false},
    {"imgAddToDesk", {54, 264, 200, 93}, false},     {"imgPicMix", {0, 0, 495, 371}, false},
};

QWidget* child(QWidget& window, const char* name) {
    auto* widget = window.findChild<QWidget*>(QLatin1String(name));
    if (!widget) ADD_FAILURE() << "no control " << name;
    return widget;
}

QColor pixel(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

}  // namespace

TEST(MainLayout, ControlsSitAtTheirDesignedPlacesAndFollowTheirAnchors) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.create();
    ASSERT_EQ(w.size(), QSize(822, 466));
    for (const Placement& p : kPlacements) {
        if (QWidget* widget = child(w, p.name)) {
            EXPECT_EQ(widget->geometry(), p.designRect) << p.name;
        }
    }
    EXPECT_EQ(w.lblDateTime->pos(), QPoint(343, 19));
    EXPECT_EQ(w.lblSet->pos(), QPoint(675, 56));
    EXPECT_EQ(w.pngRight->geometry(), QRect(315, 80, 503, 381));

    f.show();
    w.resize(1022, 566);
    ASSERT_TRUE(QTest::qWaitFor([&w] { return w.imgBG->width() == 1022; }));
    for (const Placement& p : kPlacements) {
        const QRect expected = p.designRect.translated(p.followsRight ? 200 : 0, 0);
        if (QWidget* widget = child(w, p.name)) {
            EXPECT_EQ(widget->geometry(), expected) << p.name;
        }
    }
    EXPECT_EQ(w.lblSet->pos(), QPoint(875, 56));
    EXPECT_EQ(w.lblDateTime->pos(), QPoint(343, 19));
    EXPECT_EQ(w.pngRight->geometry(), QRect(315, 80, 703, 481));
    EXPECT_EQ(w.pgcMain->geometry(), QRect(0, 0, 703, 481));
    EXPECT_EQ(w.imgBG->geometry(), QRect(0, 0, 1022, 566));
}

TEST(MainLayout, CaptionsFontsAndCursorsAreTheWindowsOwn) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.create();
    EXPECT_EQ(w.lblSet->text(), QStringLiteral("|  选项"));
    EXPECT_EQ(w.lblSet->font().family(), QStringLiteral("宋体"));
    EXPECT_EQ(w.lblSet->font().pixelSize(), 12);
    EXPECT_EQ(w.lblDateTime->font().family(), QStringLiteral("微软雅黑"));
    EXPECT_EQ(w.lblDateTime->font().pixelSize(), 12);
    EXPECT_TRUE(w.lblDateTime->font().bold());
    EXPECT_EQ(w.lblDateTime->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    EXPECT_EQ(w.btnInsertPic->text(), QStringLiteral("插入图片"));
    EXPECT_EQ(w.SpeedButton1->text(), QStringLiteral("截  图"));
    EXPECT_TRUE(w.btnInsertPic->autoRaise());
    for (QWidget* hand : std::initializer_list<QWidget*>{w.lblSet, w.imgAppToDesk, w.btnInsertPic, w.SpeedButton1,
                                                         w.imgAddToDesk, w.imgPicMix}) {
        EXPECT_EQ(hand->cursor().shape(), Qt::PointingHandCursor) << hand->objectName().toStdString();
    }
    // The artwork at its pixel sizes.
    const struct {
        app::TImage* image;
        QSize size;
    } art[] = {
        {w.imgBG, {416, 289}},
        {w.imgLogo, {200, 57}},
        {w.img_close_normal, {39, 20}},
        {w.img_close_highlight, {39, 20}},
        {w.img_close_down, {39, 20}},
        {w.img_mini_normal, {28, 20}},
        {w.img_mini_highlight, {28, 20}},
        {w.img_mini_down, {28, 20}},
        {w.imgAppToDesk, {84, 29}},
        {w.imgAddToDesk, {200, 93}},
    };
    for (const auto& a : art) EXPECT_EQ(a.image->picture().size(), a.size) << a.image->objectName().toStdString();
    EXPECT_TRUE(w.imgBG->stretch());
    EXPECT_TRUE(w.imgAddToDesk->stretch());
}

TEST(MainLayout, PaintsTheWhiteAreaItsBorderAndTheLeftColumn) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    const QImage shot = w.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(830, 500));
    const QColor frameBlue(216, 227, 243);
    EXPECT_EQ(pixel(shot, 0, 300), frameBlue);            // left border below the band
    EXPECT_EQ(pixel(shot, 829, 470), frameBlue);          // right border
    EXPECT_EQ(pixel(shot, 415, 499), frameBlue);          // bottom border
    EXPECT_EQ(pixel(shot, 310, 300), QColor(Qt::white));  // between the columns
    EXPECT_EQ(pixel(shot, 4 + 10, 80 + 300), frameBlue);  // shpLeft
    EXPECT_EQ(pixel(shot, 500, 300), QColor(Qt::white));  // pngRight
}

TEST(MainLayout, HiddenPartsExistAndAreNeverShown) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    EXPECT_EQ(w.pgcMain->currentWidget(), w.ts_PicShow);
    EXPECT_EQ(w.pgcMain->indexOf(w.ts_PicMix), 1);
    EXPECT_EQ(w.pgcMain->indexOf(w.tsMain), 2);
    EXPECT_FALSE(w.ts_PicMix->isVisible());
    EXPECT_FALSE(w.imgHint->isVisible());
    EXPECT_FALSE(w.rdtMain->isVisible());
    EXPECT_EQ(w.TmrSaveCopy->interval(), 200);
    EXPECT_EQ(w.tmrAutoSave->interval(), 10000);
    EXPECT_FALSE(w.TmrSaveCopy->isActive());
    EXPECT_FALSE(w.tmrAutoSave->isActive());
    EXPECT_TRUE(w.pmEmpty->actions().isEmpty());
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::FramelessWindowHint));
}
