// The options menu: where it opens, what it says and what its items do.
#include "SiteAddress.h"
#include "Widgets.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tavlo;
using test::readFileBytes;
using test::writeFileBytes;

TEST(OptionsMenu, OpensBelowTheLabelAndFromThenOnOnARightClickToo) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();

    auto* lblSet = test::control<app::TLabel>(w, "lblSet");
    auto* popSysset = test::control<QMenu>(w, "popSysset");

    // Before the first left click the label has no menu.
    test::mouseClick(lblSet, Qt::RightButton);
    EXPECT_FALSE(popSysset->isVisible());

    test::mouseClick(lblSet, Qt::LeftButton);
    ASSERT_TRUE(popSysset->isVisible());
    EXPECT_EQ(popSysset->pos(), lblSet->mapToGlobal(QPoint(0, lblSet->height())));
    popSysset->hide();

    const QPoint inside(6, 3);
    test::mouseClick(lblSet, Qt::RightButton, inside);
    ASSERT_TRUE(popSysset->isVisible());
    EXPECT_EQ(popSysset->pos(), lblSet->mapToGlobal(inside));
    popSysset->hide();
}

TEST(OptionsMenu, ItemsCarryTheirCaptionsWithoutAccelerators) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.create();
    QStringList captions;
    for (QAction* action : test::control<QMenu>(w, "popSysset")->actions()) {
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
        EXPECT_FALSE(action->text().contains(u'&'));
    }
    EXPECT_EQ(captions, (QStringList{"内容导出", "日历记事", "帮助说明", "意见反馈", "壁纸铺放方式", "自动更换壁纸",
                                     "-", "退出程序"}));
    EXPECT_FALSE(test::control<QAction>(w, "N_OutPutCon")->isVisible());
    EXPECT_TRUE(test::control<QAction>(w, "N_help")->isVisible());
}

TEST(OptionsMenu, HelpAndFeedbackOpenTheirPagesInTheSystemBrowser) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.create();
    test::control<QAction>(w, "N_help")->trigger();
    test::control<QAction>(w, "N_Submit")->trigger();
    const QString shipped = QUrl::fromLocalFile(QString::fromStdString((f.folder / "site").string())).toString();
    ASSERT_EQ(f.opened.size(), 2u);
    EXPECT_EQ(f.opened[0].toString(), shipped + "/help4/tavloa.htm");
    EXPECT_EQ(f.opened[1].toString(), shipped + "/help4/tavlob.htm");

    test::MainWindowFixture web;
    writeFileBytes(web.folder / "Data/WebSite.ini", "https://tavlo.example\r\n");
    test::control<QAction>(web.create(), "N_Submit")->trigger();
    ASSERT_EQ(web.opened.size(), 1u);
    EXPECT_EQ(web.opened[0], QUrl("https://tavlo.example/help4/tavlob.htm"));
}

TEST(OptionsMenu, ExitEndsTheProgramWithoutWritingTheGeometry) {
    test::MainWindowFixture f;
    writeFileBytes(f.folder / "Data/FormSize.ini", "2\r\n900\r\n600\r\n10\r\n20\r\n");
    app::TMainFrm& w = f.show();
    w.move(300, 300);
    w.resize(1000, 700);
    auto* popSysset = test::control<QMenu>(w, "popSysset");
    test::mouseClick(test::control(w, "lblSet"), Qt::LeftButton);
    popSysset->setActiveAction(test::control<QAction>(w, "N_ExitPrj"));
    QTest::keyClick(popSysset, Qt::Key_Return);
    EXPECT_EQ(f.terminations, 1);
    EXPECT_EQ(readFileBytes(f.folder / "Data/FormSize.ini"), "2\r\n900\r\n600\r\n10\r\n20\r\n");
}

// Opened from the keyboard and closed with Esc, the menu gives the focus
// back to 选项, however the window is reactivated afterwards.
TEST(OptionsMenu, TheFocusComesBackToTheLabelWhenTheMenuCloses) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* lblSet = test::control<app::TLabel>(w, "lblSet");
    auto* popSysset = test::control<QMenu>(w, "popSysset");
    lblSet->setFocus(Qt::TabFocusReason);
    QTest::keyClick(lblSet, Qt::Key_Return);
    ASSERT_TRUE(popSysset->isVisible());
    // What a window manager does when the menu's grab ends: the window is
    // activated afresh, which moves the focus to its first control.
    QTest::keyClick(popSysset, Qt::Key_Escape);
    test::control<QWidget>(w, "btnInsertPic")->setFocus(Qt::ActiveWindowFocusReason);
    QEventLoop settle;
    QTimer::singleShot(0, &settle, &QEventLoop::quit);
    settle.exec();
    EXPECT_FALSE(popSysset->isVisible());
    EXPECT_EQ(w.focusWidget(), lblSet);
}
