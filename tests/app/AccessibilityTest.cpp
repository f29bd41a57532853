// The main window and its dialogs as a screen reader and a keyboard user
// meet them: every command a named button with a tooltip, pressed through
// the accessible tree, reached by Tab in order, run by Enter or Space, and
// marked while it has the keyboard's focus.
#include "MessageBoxes.h"
#include "WebPanel.h"
#include "WindowTestSupport.h"
#include "uInfoFrm.h"
#include "uPicSel.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

using namespace tavlo;

namespace {

bool isChinese(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF; });
}

bool isButton(QAccessibleInterface* node) {
    return node->role() == QAccessible::Button || node->role() == QAccessible::ButtonMenu;
}

// What a screen reader finds in a window: every part it shows, depth first.
void collectShown(QAccessibleInterface* node, std::vector<QAccessibleInterface*>& shown) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child || child->state().invisible) continue;
        shown.push_back(child);
        collectShown(child, shown);
    }
}

std::vector<QAccessibleInterface*> shownParts(QWidget& window) {
    std::vector<QAccessibleInterface*> shown;
    collectShown(QAccessible::queryAccessibleInterface(&window), shown);
    return shown;
}

// The shown button of that name; fails the test when there is none.
QAccessibleInterface* button(QWidget& window, const QString& name) {
    for (QAccessibleInterface* part : shownParts(window))
        if (isButton(part) && part->text(QAccessible::Name) == name) return part;
    ADD_FAILURE() << "no button " << name.toStdString();
    return nullptr;
}

void press(QAccessibleInterface* command) {
    QAccessibleActionInterface* actions = command->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();  // a press is queued, as a click is
}

QWidget* focusedControl() {
    return QApplication::focusWidget();
}

QString focusedName() {
    QWidget* focused = focusedControl();
    return focused ? QAccessible::queryAccessibleInterface(focused)->text(QAccessible::Name) : QString();
}

// Makes `window` the one that has the keyboard. (A dialog just closed can
// still count as active until the window system says otherwise.)
void activate(QWidget& window) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
}

// Moves the keyboard's focus with Tab until it reaches the command `name`.
void tabTo(QWidget& window, const QString& name) {
    for (int i = 0; i < 20 && focusedName() != name; ++i) QTest::keyClick(&window, Qt::Key_Tab);
    ASSERT_EQ(focusedName().toStdString(), name.toStdString());
}

// The main window with its two dialogs, shown and active.
class AccessibleMainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        main = &fixture.create();
        picker = new TPicSelFrm(*fixture.state, main);
        confirmation = new TInforFrm(*fixture.state, main);
        main->attachDialogs(picker, confirmation);
        fixture.show();
        activate();
    }

    // The window has the keyboard again (a dialog or menu took it).
    void activate() { ::activate(*main); }

    // Each command of the window, and what shows that it ran (undone again).
    struct Command {
        QString name;
        std::function<bool()> ran;
    };
    std::vector<Command> commands() {
        const auto dialogShown = [this](const char* dialog) {
            return [this, dialog] {
                const bool shown = std::find(dialogs.begin(), dialogs.end(), dialog) != dialogs.end();
                dialogs.clear();
                return shown;
            };
        };
        return {
            {QStringLiteral("选项"),
             [this] {
                 auto* menu = test::control<QMenu>(*main, "popSysset");
                 const bool open = menu->isVisible();
                 menu->hide();
                 return open;
             }},
            // Without a picture it says what to do first.
            {QStringLiteral("应用到桌面"),
             [this] {
                 const bool said =
                     answers.messages == std::vector<QString>{QStringLiteral("请先插入图片或截图，再更换壁纸。")};
                 answers.messages.clear();
                 return said;
             }},
            {QStringLiteral("添加背景图片"), dialogShown("TPicSelFrm")},
            {QStringLiteral("最小化"),
             [this] {
                 const bool minimised = main->isMinimized();
                 main->showNormal();
                 return minimised;
             }},
            {QStringLiteral("关闭"),
             [this] {
                 const bool closed = fixture.terminations > 0;
                 fixture.terminations = 0;
                 return closed;
             }},
        };
    }

    test::MainWindowFixture fixture;
    app::TMainFrm* main = nullptr;
    TPicSelFrm* picker = nullptr;
    TInforFrm* confirmation = nullptr;
    // The dialogs the commands opened (each answered with a no).
    std::vector<std::string> dialogs;
    test::ModalAnswers answers{[this](QWidget* dialog) { dialogs.push_back(dialog->objectName().toStdString()); }};
};

TEST_F(AccessibleMainWindow, EveryCommandIsANamedButtonWithATooltip) {
    const QString expected[] = {QStringLiteral("插入图片"),   QStringLiteral("截图"),         QStringLiteral("选项"),
                                QStringLiteral("应用到桌面"), QStringLiteral("添加背景图片"), QStringLiteral("最小化"),
                                QStringLiteral("关闭")};
    for (const QString& name : expected) {
        QAccessibleInterface* command = button(*main, name);
        if (!command) continue;
        EXPECT_TRUE(isChinese(command->text(QAccessible::Description))) << name.toStdString();
        EXPECT_TRUE(command->actionInterface() &&
                    command->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()))
            << name.toStdString();
        EXPECT_TRUE(command->state().focusable) << name.toStdString();
    }
    EXPECT_EQ(button(*main, QStringLiteral("选项"))->role(), QAccessible::ButtonMenu);
    // Nothing the mouse can click is left a nameless part: a control with a
    // hand cursor is a named button, or the picture of the moment.
    for (QAccessibleInterface* part : shownParts(*main)) {
        auto* widget = qobject_cast<QWidget*>(part->object());
        if (!widget || widget->cursor().shape() != Qt::PointingHandCursor) continue;
        const QString name = part->text(QAccessible::Name);
        EXPECT_TRUE(isChinese(name)) << widget->objectName().toStdString();
        if (widget->objectName() == QLatin1String("imgPicMix")) {
            EXPECT_EQ(part->role(), QAccessible::Graphic);
        } else {
            EXPECT_TRUE(isButton(part)) << widget->objectName().toStdString();
        }
    }
}

TEST_F(AccessibleMainWindow, EachCommandRunsFromTheAccessibleTreeAndFromEnterOrSpace) {
    for (const Command& command : commands()) {
        const std::string name = command.name.toStdString();
        press(button(*main, command.name));
        EXPECT_TRUE(command.ran()) << name << " pressed through the accessible tree";
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
            activate();
            tabTo(*main, command.name);
            if (HasFatalFailure()) return;
            QTest::keyClick(focusedControl(), key);
            EXPECT_TRUE(command.ran()) << name << " by key " << key;
        }
    }
}

TEST_F(AccessibleMainWindow, TabVisitsTheCommandsInOrder) {
    tabTo(*main, QStringLiteral("插入图片"));
    QStringList visited{focusedName()};
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(main, Qt::Key_Tab);
        visited << focusedName();
    }
    // And round again: the web panel, with nothing to operate, is passed by.
    EXPECT_EQ(visited.join(u' ').toStdString(), "插入图片 截图 选项 应用到桌面 添加背景图片 最小化 关闭 插入图片");
    ASSERT_NE(main->webPanel().webLink(), nullptr);
    QTest::keyClick(main, Qt::Key_Backtab);
    EXPECT_EQ(focusedName().toStdString(), "关闭");
}

// Under the mouse the caption button shows another picture: the keyboard's
// focus moves with it.
TEST_F(AccessibleMainWindow, TheFocusStaysOnACaptionButtonWhoseFaceChanges) {
    tabTo(*main, QStringLiteral("关闭"));
    test::mouseMove(test::control(*main, "img_close_normal"), {10, 10});
    EXPECT_EQ(focusedControl(), test::control(*main, "img_close_highlight"));
    test::mouseMove(test::control(*main, "imgBG"), {310, 300});
    EXPECT_EQ(focusedControl(), test::control(*main, "img_close_normal"));
}

// WCAG's contrast ratio of two colours.
double contrast(QColor a, QColor b) {
    const auto luminance = [](QColor c) {
        const auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The least change round the control's edge: at each step, the most that
// any of the three pixels across the edge changed with the focus.
double weakestRing(const QImage& unmarked, const QImage& marked) {
    const QRect edge = unmarked.rect();
    const auto across = [&](QPoint outer, QPoint inward) {
        double best = 0;
        for (int k = 0; k < 3; ++k) {
            const QPoint at = outer + inward * k;
            best = std::max(best, contrast(marked.pixelColor(at), unmarked.pixelColor(at)));
        }
        return best;
    };
    double weakest = 100;
    for (int x = edge.left() + 3; x <= edge.right() - 3; ++x)
        weakest = std::min({weakest, across({x, edge.top()}, {0, 1}), across({x, edge.bottom()}, {0, -1})});
    for (int y = edge.top() + 3; y <= edge.bottom() - 3; ++y)
        weakest = std::min({weakest, across({edge.left(), y}, {1, 0}), across({edge.right(), y}, {-1, 0})});
    return weakest;
}

// The mark of the program's own commands differs at least 3:1 from what lies
// beneath it, all the way round (blue on 应用到桌面's blue as well).
TEST_F(AccessibleMainWindow, TheKeyboardsFocusIsMarked) {
    for (const char* name : {"imgAppToDesk", "lblSet", "btnInsertPic", "img_mini_normal"}) {
        QWidget* control = test::control(*main, name);
        const QImage unmarked = control->grab().toImage();
        tabTo(*main, QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name));
        const QImage marked = control->grab().toImage();
        EXPECT_NE(marked, unmarked) << name << " shows no focus";
        if (!qobject_cast<QAbstractButton*>(control)) {
            EXPECT_GE(weakestRing(unmarked, marked), 3.0) << name;
        }
        QTest::keyClick(main, Qt::Key_Tab);
        EXPECT_EQ(control->grab().toImage(), unmarked) << name << " keeps its mark after Tab";
    }
}

// The window is a frame named by its title, as the window manager shows it.
TEST_F(AccessibleMainWindow, TheWindowIsAFrameWithItsTitle) {
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(main);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Tavlo助手"));
}

// A dialog's shown buttons: each named in Chinese, with a tooltip.
void expectNamedButtons(QWidget& dialog, const QStringList& names) {
    for (const QString& name : names) {
        QAccessibleInterface* command = button(dialog, name);
        if (!command) continue;
        EXPECT_TRUE(isChinese(command->text(QAccessible::Description))) << name.toStdString();
    }
}

TEST(AccessibleDialogs, TheConfirmationIsReadAndAnsweredFromTheKeyboard) {
    test::TempFolder temp;
    GlobalState state{ProgramFolder(temp.path())};
    TInforFrm dialog(state);
    const struct {
        QString focus;  // where Tab takes the focus first
        Qt::Key key;
        std::int32_t answer;
    } cases[] = {
        {QStringLiteral("确定"), Qt::Key_Space, 1},
        {QStringLiteral("取消"), Qt::Key_Return, 0},
        {QStringLiteral("关闭"), Qt::Key_Space, 0},
        {QStringLiteral("下次不再提示"), Qt::Key_Return, 1},  // the default button
    };
    for (const auto& c : cases) {
        QStringList order;
        test::ModalAnswers answers([&](QWidget* modal) {
            expectNamedButtons(*modal, {QStringLiteral("确定"), QStringLiteral("取消"), QStringLiteral("关闭")});
            activate(*modal);
            order << focusedName();
            for (int i = 0; i < 4; ++i) {
                QTest::keyClick(modal, Qt::Key_Tab);
                order << focusedName();
            }
            tabTo(*modal, c.focus);
            QTest::keyClick(focusedControl(), c.key);
        });
        state.ApplyConfirmed = 1 - c.answer;
        dialog.ask();
        EXPECT_EQ(state.ApplyConfirmed, c.answer) << c.focus.toStdString();
        EXPECT_EQ(order.join(u' ').toStdString(), "确定 取消 关闭 下次不再提示 确定");
    }
}

TEST(AccessibleDialogs, ThePickersCloseButtonIsPressedFromTheTreeAndTheKeyboard) {
    test::TempFolder temp;
    GlobalState state{ProgramFolder(temp.path())};
    TPicSelFrm picker(state);
    for (const bool keyboard : {false, true}) {
        QStringList order;
        bool closed = false;
        test::ModalAnswers answers([&](QWidget* modal) {
            expectNamedButtons(*modal, {QStringLiteral("移除"), QStringLiteral("添加"), QStringLiteral("确定"),
                                        QStringLiteral("关闭")});
            activate(*modal);
            order << focusedName();
            for (int i = 0; i < 4; ++i) {
                QTest::keyClick(modal, Qt::Key_Tab);
                order << focusedName();
            }
            if (keyboard) {
                QTest::keyClick(focusedControl(), Qt::Key_Return);
            } else {
                press(button(*modal, QStringLiteral("关闭")));
            }
            closed = !modal->isVisible();
        });
        picker.pick();
        EXPECT_TRUE(closed) << (keyboard ? "Enter" : "press");
        EXPECT_EQ(order.join(u' ').toStdString(), "背景图片 移除 添加 确定 关闭");
    }
}

// A message box, also under a locale without Chinese: its one button says
// 确定 and what it does, and a press through the tree closes it.
TEST(AccessibleDialogs, AMessageBoxsButtonIsNamedInChinese) {
    QObject context;
    bool checked = false;
    QTimer::singleShot(0, &context, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        expectNamedButtons(*box, {QStringLiteral("确定")});
        press(button(*box, QStringLiteral("确定")));
        checked = true;
    });
    widgets::showMessage(nullptr, QStringLiteral("加载失败！"));
    EXPECT_TRUE(checked);
}

}  // namespace
