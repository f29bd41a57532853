// The browser views: made after the window is painted, the start page in
// webLink, design mode in WebEditor, and the right-click filter.
#include "WebPanel.h"
#include "WidgetTreeFilter.h"
#include "WindowTestSupport.h"

#include <QEventLoop>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>

using namespace tavlo;

namespace {

// A main window whose web panel shows the pages of the source tree, laid
// where the program folder keeps its own.
class WebPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory_symlink(std::string(TAVLO_TEST_DATA) + "/../app/site", f.folder / "site");
        app::TMainFrm& w = f.create();
        QSignalSpy created(&w.webPanel(), &app::WebPanel::viewsCreated);
        QSignalSpy loaded(&w.webPanel(), &app::WebPanel::linkLoadFinished);
        EXPECT_EQ(w.webPanel().webLink(), nullptr);  // nothing waits for the browser engine
        f.show();
        ASSERT_TRUE(created.count() > 0 || created.wait(10000));
        ASSERT_TRUE(loaded.count() > 0 || loaded.wait(30000));
        ASSERT_TRUE(loaded.last().at(0).toBool());
    }

    test::MainWindowFixture f;
};

// Runs a script in the page and waits for its result in a local event loop.
// The callback holds only a shared answer and a guarded pointer to the loop:
// a result that arrives after the wait gave up writes into nothing that is gone.
QString evaluate(QWebEngineView* view, const QString& script) {
    struct Answer {
        QString value;
        bool done = false;
        QPointer<QEventLoop> loop;
    };
    auto answer = std::make_shared<Answer>();
    QEventLoop loop;
    answer->loop = &loop;
    view->page()->runJavaScript(script, [answer](const QVariant& v) {
        answer->value = v.toString();
        answer->done = true;
        if (answer->loop) answer->loop->quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    if (!answer->done) loop.exec();
    if (!answer->done) ADD_FAILURE() << "no answer to " << script.toStdString();
    return answer->value;
}

}  // namespace

TEST_F(WebPanelTest, WebLinkShowsTheStartPageThroughItsWindow) {
    app::TMainFrm& w = *f.window;
    QWebEngineView* link = w.webPanel().webLink();
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->objectName(), QStringLiteral("webLink"));
    EXPECT_EQ(link->parentWidget(), test::control(w, "pnlWeb"));
    EXPECT_EQ(link->geometry(), QRect(-11, -16, 2000, 841));
    EXPECT_TRUE(link->url().toString().endsWith(QStringLiteral("/site/rs/Tavlo.htm")));
    EXPECT_EQ(evaluate(link, QStringLiteral("document.title")), QStringLiteral("Tavlo助手"));
}

TEST_F(WebPanelTest, WebEditorIsABlankPageInDesignMode) {
    app::TMainFrm& w = *f.window;
    // Nobody has used the hidden editor yet: it has no view, and no renderer.
    EXPECT_EQ(test::control(w, "ts_PicMix")->findChild<QWebEngineView*>(), nullptr);
    QWebEngineView* editor = w.webPanel().webEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(w.webPanel().webEditor(), editor);
    QSignalSpy designMode(&w.webPanel(), &app::WebPanel::editorDesignModeOn);
    if (evaluate(editor, QStringLiteral("document.designMode")) != QLatin1String("on")) {
        ASSERT_TRUE(designMode.wait(20000));
    }
    EXPECT_EQ(evaluate(editor, QStringLiteral("document.designMode")), QStringLiteral("on"));
    EXPECT_EQ(editor->url(), QUrl(QStringLiteral("about:blank")));
    EXPECT_TRUE(test::control(w, "ts_PicMix")->isAncestorOf(editor));
    EXPECT_FALSE(editor->isVisible());
}

// The page keeps what it saw of the mouse in its title: the buttons pressed,
// "menu" for each context-menu request, in order. Waits until the title says
// `seen`; false when it never does.
bool pageSaw(QWebEngineView* view, const QString& seen) {
    QSignalSpy changed(view, &QWebEngineView::titleChanged);
    while (view->title() != seen)
        if (!changed.wait(20000)) return false;
    return true;
}

TEST_F(WebPanelTest, RightClicksInsideTheBrowserNeverReachIt) {
    app::TMainFrm& w = *f.window;
    QWebEngineView* link = w.webPanel().webLink();
    link->setContextMenuPolicy(Qt::CustomContextMenu);
    QSignalSpy menuRequests(link, &QWidget::customContextMenuRequested);
    ASSERT_EQ(evaluate(link, QStringLiteral("window.seen = [];"
                                            "const note = x => { seen.push(x); document.title = seen.join(' '); };"
                                            "addEventListener('mousedown', e => note(e.button), true);"
                                            "addEventListener('contextmenu', () => note('menu'), true);"
                                            "'ready'")),
              QStringLiteral("ready"));
    QWidget* surface = link->focusProxy() ? link->focusProxy() : link;
    const QPoint inPanel(11 + 150, 16 + 120);  // the middle of the visible part

    // The right click is stopped; the left click after it reaches the page,
    // which has had its chance to see both by then.
    test::mouseClick(surface, Qt::RightButton, inPanel);
    test::mouseClick(surface, Qt::LeftButton, inPanel);
    EXPECT_TRUE(pageSaw(link, QStringLiteral("0"))) << link->title().toStdString();
    EXPECT_EQ(menuRequests.count(), 0);

    // Without the filter the right click reaches the page and asks for a
    // menu: the quiet above is the filter's doing.
    auto* AppEvent1 = test::control<app::WidgetTreeFilter>(w, "AppEvent1");
    AppEvent1->setActive(false);
    test::mouseClick(surface, Qt::RightButton, inPanel);
    EXPECT_TRUE(pageSaw(link, QStringLiteral("0 2 menu"))) << link->title().toStdString();
    EXPECT_TRUE(menuRequests.count() > 0 || menuRequests.wait(20000));
    AppEvent1->setActive(true);
}

TEST_F(WebPanelTest, RightClicksElsewhereAreUntouched) {
    app::TMainFrm& w = *f.window;
    QWidget* pngRight = test::control(w, "pngRight");
    pngRight->setContextMenuPolicy(Qt::CustomContextMenu);
    QSignalSpy menuRequests(pngRight, &QWidget::customContextMenuRequested);
    test::mouseClick(pngRight, Qt::RightButton, {450, 350});
    EXPECT_EQ(menuRequests.count(), 1);
}

// The browser engine makes the widget that takes a view's input inside the
// view, perhaps after the filter was set up, and may put a filter of its own
// on it: the view's filter still sees the widget's events first.
TEST(WidgetTreeFilter, SeesWidgetsMadeLaterBeforeTheirOwnFilters) {
    struct Swallower : QObject {
        int swallowed = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() != QEvent::MouseButtonPress) return false;
            ++swallowed;
            return true;
        }
    };
    QWidget view;
    view.resize(200, 100);
    app::WidgetTreeFilter filter;
    std::vector<QObject*> stopped;
    filter.setOnMessage([&](QObject* target, QEvent* event, bool& handled) {
        handled = event->type() == QEvent::MouseButtonPress;
        if (handled) stopped.push_back(target);
    });
    filter.watch(&view);
    auto* input = new QWidget(&view);
    input->setGeometry(0, 0, 100, 100);
    Swallower engine;
    input->installEventFilter(&engine);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    QTest::mousePress(input, Qt::RightButton);
    EXPECT_EQ(stopped, std::vector<QObject*>{input});
    EXPECT_EQ(engine.swallowed, 0);
}
