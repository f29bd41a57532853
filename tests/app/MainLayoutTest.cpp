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
    EXPECT_EQ(test::control<QLabel>(w, "lblDateTime")->pos(), QPoint(343, 19));
    EXPECT_EQ(test::control<app::TLabel>(w, "lblSet")->pos(), QPoint(675, 56));
    EXPECT_EQ(test::control(w, "pngRight")->geometry(), QRect(315, 80, 503, 381));

    f.show();
    w.resize(1022, 566);
    const QWidget* imgBG = test::control(w, "imgBG");
    ASSERT_TRUE(QTest::qWaitFor([imgBG] { return imgBG->width() == 1022; }));
    for (const Placement& p : kPlacements) {
        const QRect expected = p.designRect.translated(p.followsRight ? 200 : 0, 0);
        if (QWidget* widget = child(w, p.name)) {
            EXPECT_EQ(widget->geometry(), expected) << p.name;
        }
    }
    EXPECT_EQ(test::control<app::TLabel>(w, "lblSet")->pos(), QPoint(875, 56));
    EXPECT_EQ(test::control<QLabel>(w, "lblDateTime")->pos(), QPoint(343, 19));
    EXPECT_EQ(test::control(w, "pngRight")->geometry(), QRect(315, 80, 703, 481));
    EXPECT_EQ(test::control<QStackedWidget>(w, "pgcMain")->geometry(), QRect(0, 0, 703, 481));
    EXPECT_EQ(imgBG->geometry(), QRect(0, 0, 1022, 566));
}

TEST(MainLayout, CaptionsFontsAndCursorsAreTheWindowsOwn) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.create();
    const auto* lblSet = test::control<app::TLabel>(w, "lblSet");
    const auto* lblDateTime = test::control<QLabel>(w, "lblDateTime");
    const auto* btnInsertPic = test::control<QToolButton>(w, "btnInsertPic");
    EXPECT_EQ(lblSet->text(), QStringLiteral("|  选项"));
    EXPECT_EQ(lblSet->font().family(), QStringLiteral("宋体"));
    EXPECT_EQ(lblSet->font().pixelSize(), 12);
    EXPECT_EQ(lblDateTime->font().family(), QStringLiteral("微软雅黑"));
    EXPECT_EQ(lblDateTime->font().pixelSize(), 12);
    EXPECT_TRUE(lblDateTime->font().bold());
    EXPECT_EQ(lblDateTime->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    EXPECT_EQ(btnInsertPic->text(), QStringLiteral("插入图片"));
    EXPECT_EQ(test::control<QToolButton>(w, "SpeedButton1")->text(), QStringLiteral("截  图"));
    EXPECT_TRUE(btnInsertPic->autoRaise());
    for (const char* hand : {"lblSet", "imgAppToDesk", "btnInsertPic", "SpeedButton1", "imgAddToDesk", "imgPicMix"}) {
        EXPECT_EQ(test::control(w, hand)->cursor().shape(), Qt::PointingHandCursor) << hand;
    }
    // The artwork at its pixel sizes.
    const struct {
        const char* image;
        QSize size;
    } art[] = {
        {"imgBG", {416, 289}},
        {"imgLogo", {200, 57}},
        {"img_close_normal", {39, 20}},
        {"img_close_highlight", {39, 20}},
        {"img_close_down", {39, 20}},
        {"img_mini_normal", {28, 20}},
        {"img_mini_highlight", {28, 20}},
        {"img_mini_down", {28, 20}},
        {"imgAppToDesk", {84, 29}},
        {"imgAddToDesk", {200, 93}},
    };
    for (const auto& a : art) EXPECT_EQ(test::control<app::TImage>(w, a.image)->picture().size(), a.size) << a.image;
    EXPECT_TRUE(test::control<app::TImage>(w, "imgBG")->stretch());
    EXPECT_TRUE(test::control<app::TImage>(w, "imgAddToDesk")->stretch());
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
    const auto* pgcMain = test::control<QStackedWidget>(w, "pgcMain");
    EXPECT_EQ(pgcMain->currentWidget(), test::control(w, "ts_PicShow"));
    EXPECT_EQ(pgcMain->indexOf(test::control(w, "ts_PicMix")), 1);
    EXPECT_EQ(pgcMain->indexOf(test::control(w, "tsMain")), 2);
    EXPECT_FALSE(test::control(w, "ts_PicMix")->isVisible());
    EXPECT_FALSE(test::control<app::TImage>(w, "imgHint")->isVisible());
    EXPECT_FALSE(test::control<QTextEdit>(w, "rdtMain")->isVisible());
    const auto* TmrSaveCopy = test::control<QTimer>(w, "TmrSaveCopy");
    const auto* tmrAutoSave = test::control<QTimer>(w, "tmrAutoSave");
    EXPECT_EQ(TmrSaveCopy->interval(), 200);
    EXPECT_EQ(tmrAutoSave->interval(), 10000);
    EXPECT_FALSE(TmrSaveCopy->isActive());
    EXPECT_FALSE(tmrAutoSave->isActive());
    EXPECT_TRUE(test::control<QMenu>(w, "pmEmpty")->actions().isEmpty());
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::FramelessWindowHint));
}
