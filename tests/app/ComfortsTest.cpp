// What users expect of the dialogs: the confirmation answers to Enter and
// Esc, and the open dialogs start where the last picture was chosen.
#include "BmpFormat.h"
#include "SettingsFile.h"
#include "WindowTestSupport.h"
#include "uInfoFrm.h"
#include "uPicSel.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

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
