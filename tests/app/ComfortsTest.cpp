// What users expect of the dialogs: the confirmation answers to Enter and
// Esc, the picker's Enter never removes and its 移除 asks, and the open
// dialogs start where the last picture was chosen.
#include "BmpFormat.h"
#include "ModalAnswers.h"
#include "SettingsFile.h"
#include "WindowTestSupport.h"
#include "uInfoFrm.h"
#include "uPicSel.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

using namespace tavlo;
namespace fs = std::filesystem;

TEST(Confirmation, EnterPressesOkAndEscCancel) {
    const struct {
        Qt::Key key;
        bool tick;
        std::int32_t answer;
        const char* setting;  // data\configSetBg.ini afterwards
    } cases[] = {
        {Qt::Key_Return, false, 1, "1\r\n"},
        {Qt::Key_Enter, true, 1, "0\r\n"},
        {Qt::Key_Escape, true, 0, "1\r\n"},
    };
    for (const auto& c : cases) {
        test::TempFolder temp;
        GlobalState state{ProgramFolder(temp.path())};
        writeSettingsLines(state.folder.pathForWrite("data\\configSetBg.ini"), {"1"});
        TInforFrm dialog(state);
        auto* chkSetBgInfo = test::control<QCheckBox>(dialog, "chkSetBgInfo");
        chkSetBgInfo->setChecked(c.tick);
        chkSetBgInfo->setFocus();  // the key goes to the dialog wherever the focus is
        test::ModalAnswers answers([&](QWidget* modal) { QTest::keyClick(modal, c.key); });
        state.ApplyConfirmed = 1 - c.answer;
        dialog.ask();
        EXPECT_EQ(state.ApplyConfirmed, c.answer) << c.key;
        EXPECT_EQ(test::readFileBytes(state.ConfigSetBgPath), c.setting) << c.key;
        EXPECT_FALSE(dialog.isVisible());
    }
}

namespace {

// A picker over a list file of three backgrounds, the second chosen.
struct PickerFixture {
    PickerFixture() {
        writeSettingsLines(state.folder.pathForWrite("Data\\BGPicList.ini"), {"b.bmp", "A1.bmp", "b.bmp", "c.bmp"});
    }
    std::string listFile() const { return test::readFileBytes(temp.path() / "Data/BGPicList.ini"); }
    // Opens the picker, selects `row` and runs `step` in it.
    void run(int row, const std::function<void(QWidget&)>& step, std::function<void(QWidget*)> answer = {}) {
        TPicSelFrm picker(state);
        test::ModalAnswers outer([&](QWidget* modal) {
            if (modal != &picker) return answer ? answer(modal) : void();
            auto* list = test::control<QTreeWidget>(picker, "LVpic");
            list->setCurrentItem(list->topLevelItem(row));
            list->setFocus();
            step(picker);
            if (picker.isVisible()) picker.reject();
        });
        picker.pick();
        messages = outer.messages;
    }
    test::TempFolder temp;
    GlobalState state{ProgramFolder(temp.path())};
    std::vector<QString> messages;
};

const char kThree[] = "b.bmp\r\nA1.bmp\r\nb.bmp\r\nc.bmp\r\n";

}  // namespace

// Enter in the list is 确定: it chooses the entry and removes nothing.
TEST(Picker, EnterInTheListChoosesAndRemovesNothing) {
    PickerFixture f;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        f.run(2, [key](QWidget& picker) { QTest::keyClick(picker.focusWidget(), key); });
        EXPECT_EQ(f.listFile(), "c.bmp\r\nA1.bmp\r\nb.bmp\r\nc.bmp\r\n") << key;
    }
}

// 移除 asks first; only its own answer removes. The built-in background is
// never removed, and the user is told why.
TEST(Picker, RemoveAsksAndTheBuiltInBackgroundSaysWhyItStays) {
    const struct {
        const char* how;
        int row;
        const char* answer;  // the question's button pressed; none when no question is expected
        Qt::Key key;         // else this key in the question
        const char* listAfter;
    } cases[] = {
        {"移除", 1, "移除", {}, "A1.bmp\r\nA1.bmp\r\nc.bmp\r\n"},
        {"取消", 1, "取消", {}, kThree},
        {"Enter", 1, nullptr, Qt::Key_Return, kThree},
        {"Esc", 1, nullptr, Qt::Key_Escape, kThree},
        {"built-in", 0, nullptr, {}, kThree},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        PickerFixture f;
        QStringList questions;
        f.run(
            c.row, [](QWidget& picker) { test::control<QPushButton>(picker, "btnRemove")->click(); },
            [&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                ASSERT_TRUE(box);
                questions << box->text();
                if (c.answer) {
                    for (QAbstractButton* button : box->buttons())
                        if (button->text() == QString::fromUtf8(c.answer)) button->click();
                } else {
                    QTest::keyClick(box, c.key);
                }
            });
        EXPECT_EQ(f.listFile(), c.listAfter);
        if (c.row == 0) {
            EXPECT_TRUE(questions.isEmpty());
            EXPECT_EQ(f.messages, std::vector<QString>{QStringLiteral("“A1.bmp”是程序自带的背景图片，不能移除。")});
        } else {
            EXPECT_EQ(questions,
                      QStringList{QStringLiteral("从列表中移除背景图片“b.bmp”？\n图片文件仍保留在背景文件夹中。")});
            EXPECT_TRUE(f.messages.empty());
        }
    }
}

TEST(OpenDialogs, StartWhereTheLastPictureWasChosen) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    TPicSelFrm picker(*f.state, &w);
    w.attachDialogs(&picker, nullptr);
    const fs::path folderA = f.folder / "相册 A";
    fs::create_directories(folderA);
    fs::create_directories(f.folder / "B");
    imaging::writeBmp(imaging::Bitmap(8, 8, 24), folderA / "one.bmp");
    imaging::writeBmp(imaging::Bitmap(8, 8, 24), f.folder / "B/two.bmp");

    // Each dialog's folder; it then chooses `next` (cancels when empty).
    std::vector<QString> folders;
    fs::path next;
    const auto answer = [&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        folders.push_back(dialog->directory().absolutePath());
        if (next.empty()) return;
        // Typed into the name field, as a user may.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QString::fromStdU16String(next.u16string()));
        QMetaObject::invokeMethod(dialog, "accept");
    };
    const auto insert = [&](const fs::path& choice) {
        next = choice;
        test::ModalAnswers answers(answer);
        test::control<QToolButton>(w, "btnInsertPic")->click();
    };
    const auto add = [&](const fs::path& choice) {
        next = choice;
        test::ModalAnswers answers(answer);
        test::control<QPushButton>(picker, "btnAdd")->click();
    };
    const QString a = QString::fromStdU16String(folderA.u16string());
    const QString b = QString::fromStdU16String((f.folder / "B").u16string());

    insert(folderA / "one.bmp");
    EXPECT_EQ(f.state->CurrentPicturePath, folderA / "one.bmp");
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_NE(folders[0], a);  // the pictures folder (or home) before any choice
    insert({});                // cancelled: the choice stays
    add(f.folder / "B/two.bmp");
    insert({});
    add({});
    EXPECT_EQ(folders, (std::vector<QString>{folders[0], a, a, b, b}));
}
