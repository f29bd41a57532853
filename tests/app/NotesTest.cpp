// The notes of the main window: their controls, the week and day buttons,
// the editors' menu and tools, the export, saves when an editor is left, and
// the "日历记事" window that shows the controls to the user.
#include "ChnCalendarPicker.h"
#include "Gb18030.h"
#include "ModalAnswers.h"
#include "NoteEditing.h"
#include "NoteStore.h"
#include "NotesTestSupport.h"
#include "Rtf.h"
#include "Widgets.h"
#include "WindowTestSupport.h"
#include "uDM.h"
#include "uNotesFrm.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDateTime>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include <ctime>

using namespace tavlo;
using namespace tavlo::test;
using notes::WeekTexts;

TEST_F(Notes, ControlsAreAsDesignedAndNoneShowsInTheMainWindow) {
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    // The day area: the calendar above the day editor.
    EXPECT_EQ(n->chnRili->parentWidget(), n->pnlABC);
    EXPECT_EQ(n->rdtAbc->parentWidget(), n->pnlABC);
    EXPECT_EQ(n->chnRili->size(), QSize(419, 255));
    EXPECT_TRUE(n->chnRili->ShowTitle());
    EXPECT_FALSE(n->chnRili->ShowFrame());
    EXPECT_EQ(n->rdtAbc->palette().color(QPalette::Base), QColor(192, 220, 192));
    EXPECT_EQ(n->rdtAbc->frameShape(), QFrame::NoFrame);
    // Nothing of the notes shows in the main window, also in a window taller
    // than designed.
    for (const int height : {w->height(), 800}) {
        w->resize(w->width(), height);
        EXPECT_FALSE(n->pnlABC->isVisible()) << height;
        EXPECT_TRUE(n->rdtAbc->visibleRegion().isEmpty()) << height;
        EXPECT_TRUE(n->chnRili->visibleRegion().isEmpty()) << height;
    }
    const auto* pgcMain = test::control<QStackedWidget>(*w, "pgcMain");
    EXPECT_EQ(pgcMain->currentWidget(), test::control(*w, "ts_PicShow"));
    EXPECT_EQ(pgcMain->indexOf(test::control(*w, "tsMain")), 2);

    struct Control {
        const char* name;
        QSize size;
    };
    for (const Control& c :
         {Control{"btnA", {23, 22}}, Control{"btnE", {23, 22}}, Control{"btnAbc_A", {23, 22}},
          Control{"btnAbc_C", {23, 22}}, Control{"btnClearCon", {66, 22}}, Control{"btnGou", {23, 22}},
          Control{"btnX", {23, 22}}, Control{"imgDate", {44, 15}}, Control{"imgRedColor", {20, 11}}}) {
        auto* control = w->findChild<QWidget*>(c.name);
        ASSERT_TRUE(control) << c.name;
        EXPECT_EQ(control->size(), c.size) << c.name;
        EXPECT_FALSE(control->isVisible()) << c.name;
        EXPECT_NE(control->window(), w) << c.name;
    }
    const char* labels[] = {"周 一", "周 二", "周 三", "周 四", "周 五", "周 六/日"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(n->redt[i]->objectName(), QStringLiteral("redt%1").arg(i + 1));
        EXPECT_EQ(n->weekLabels[i]->text(), QString::fromUtf8(labels[i]));
        EXPECT_EQ(n->redt[i]->palette().color(QPalette::Base), i == 5 ? QColor(247, 247, 247) : QColor(Qt::white));
    }
    EXPECT_EQ(w->findChild<QTextEdit*>("redt6"), n->redt[5]);
    QStringList captions;
    for (QAction* a : test::control<QMenu>(*w, "pmDeskTopMonCal")->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(captions, (QStringList{"复制", "粘贴", "删除", "剪切", "-", "打V", "打X", "-", "撤销(Ctrl+Z)"}));
    EXPECT_TRUE(n->CtrlZ1->shortcut().isEmpty());
}

TEST_F(Notes, WeekButtonsSaveThePageOnScreenThenLoadTheirOwn) {
    notes::writeWeekPage(*dm, 1, page("a"));
    notes::writeWeekPage(*dm, 2, page("b"));
    f.show();  // a first run's geometry file leaves notes page 1
    ASSERT_EQ(w->notePage(), 1);

    // Nothing is loaded yet: leaving an empty editor must not wipe page A.
    leave(n->redt[0]);
    EXPECT_EQ(stored(1), page("a"));

    n->weekButtons[0]->click();
    EXPECT_EQ(texts(n->redt), pageTexts("a"));
    n->redt[5]->setPlainText("sunday too");
    n->weekButtons[1]->click();
    WeekTexts a = stored(1);
    EXPECT_TRUE(rtf::noteToPlainText(a[5]) == "sunday too") << a[5].toStdString();
    EXPECT_EQ(texts(n->redt), pageTexts("b"));
    EXPECT_EQ(w->notePage(), 2);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(textColour(n->weekButtons[k]), k == 1 ? QColor(255, 0, 0) : QColor(Qt::black)) << k;

    // Leaving an editor saves the page on screen, B.
    n->redt[2]->setPlainText("wednesday");
    leave(n->redt[2]);
    EXPECT_EQ(rtf::noteToPlainText(stored(2)[2]), "wednesday");
}

TEST_F(Notes, DayButtonsColourTheEditorAndShowTheCalendarDatesNote) {
    const QDate day(2010, 6, 1);
    notes::writeDayNote(*dm, day, "the note of 1 June");
    n->chnRili->setDateTime(dayValue(day));
    struct Case {
        QToolButton* button;
        QColor background;
        int notePage;
    };
    const Case cases[] = {
        {n->btnAbc_A, {250, 252, 225}, 1}, {n->btnAbc_C, {224, 255, 227}, 3}, {n->btnAbc_B, {251, 240, 252}, 2}};
    for (const Case& c : cases) {
        c.button->click();
        EXPECT_EQ(n->rdtAbc->palette().color(QPalette::Base), c.background);
        EXPECT_EQ(w->notePage(), c.notePage);
        EXPECT_EQ(n->rdtAbc->toPlainText(), "the note of 1 June");
        for (QToolButton* b : {n->btnAbc_A, n->btnAbc_B, n->btnAbc_C})
            EXPECT_EQ(textColour(b), b == c.button ? QColor(0, 0, 255) : QColor(Qt::black));
    }
}

TEST_F(Notes, ADateWithoutANoteThenTwoSavesAndADateChange) {
    const QDate june1(2010, 6, 1), june2(2010, 6, 2);
    notes::writeDayNote(*dm, june2, "already there");
    n->chnRili->setDateTime(dayValue(june1));
    n->rdtAbc->setPlainText("typed before anything was loaded");
    leave(n->rdtAbc);
    EXPECT_FALSE(storedDay(june1)) << "saved an editor that was never loaded";

    n->btnAbc_A->click();
    EXPECT_EQ(n->rdtAbc->toPlainText(), "");
    n->rdtAbc->setPlainText("first");
    leave(n->rdtAbc);
    n->rdtAbc->setPlainText("second");
    leave(n->rdtAbc);
    EXPECT_EQ(storedDayText(june1), "second");
    EXPECT_EQ(notes::dayNoteKeys(*dm), (QStringList{"20100601", "20100602"}));

    // Another date: the text goes under the date it was loaded for, and the
    // new date's note is shown.
    n->rdtAbc->setPlainText("third, still for 1 June");
    n->chnRili->setDateTime(dayValue(june2));
    EXPECT_EQ(storedDayText(june1), "third, still for 1 June");
    EXPECT_EQ(n->rdtAbc->toPlainText(), "already there");
    EXPECT_EQ(storedDayText(june2), "already there");
}

TEST_F(Notes, FailedSavesAreShownAndTypedTextStays) {
    n->weekButtons[0]->click();
    n->chnRili->setDateTime(dayValue(QDate(2010, 6, 1)));
    n->btnAbc_A->click();
    n->rdtAbc->setPlainText("must not be lost");
    n->redt[0]->setPlainText("monday");

    dm->AdoCon.close();
    const std::string junk = "not a database";
    test::writeFileBytes(f.state->folder.path(TDM::kDatabaseName), junk);
    test::ModalAnswers dialogs;
    leave(n->rdtAbc);
    n->weekButtons[1]->click();
    n->btnAbc_B->click();
    EXPECT_EQ(dialogs.messages, std::vector<QString>(3, "保存记事内容失败，内容仍保留在编辑框中！"));
    EXPECT_EQ(n->rdtAbc->toPlainText(), "must not be lost");
    EXPECT_EQ(n->redt[0]->toPlainText(), "monday");
    EXPECT_EQ(w->notePage(), 1) << "a page that could not be saved was replaced";
    EXPECT_EQ(test::readFileBytes(f.state->folder.path(TDM::kDatabaseName)), junk);
}

TEST_F(Notes, FailedLoadsAreShownOnceEachAndTypedTextStays) {
    n->chnRili->setDateTime(dayValue(QDate(2010, 6, 1)));
    n->rdtAbc->setPlainText("must not be lost");
    n->redt[0]->setPlainText("monday");
    dm->AdoCon.close();
    test::writeFileBytes(f.state->folder.path(TDM::kDatabaseName), "not a database");

    // Nothing was loaded, so there is nothing to save first: each button
    // goes straight to its load.
    test::ModalAnswers dialogs;
    n->btnAbc_A->click();
    n->weekButtons[2]->click();
    EXPECT_EQ(dialogs.messages, std::vector<QString>(2, "加载记事内容失败！"));
    EXPECT_EQ(n->rdtAbc->toPlainText(), "must not be lost");
    EXPECT_EQ(n->redt[0]->toPlainText(), "monday");
}

TEST_F(Notes, WithoutADataModuleTheNotesAreUnavailableButHarmless) {
    test::MainWindowFixture bare;
    app::TMainFrm& other = bare.create();
    test::ModalAnswers dialogs;
    test::control<QToolButton>(other, "btnAbc_A")->click();
    leave(test::control(other, "rdtAbc"));
    EXPECT_EQ(dialogs.messages, std::vector<QString>{"加载记事内容失败！"});
}

TEST_F(Notes, MenuAndToolsActOnTheDayEditor) {
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    n->rdtAbc->setPlainText("abc");
    QTextCursor cursor = n->rdtAbc->textCursor();
    cursor.setPosition(1);
    cursor.setPosition(2, QTextCursor::KeepAnchor);  // "b"
    n->rdtAbc->setTextCursor(cursor);
    n->redt[2]->setPlainText("wednesday");

    // The menu opened on redt3: "打V" still goes into rdtAbc.
    emit n->redt[2]->customContextMenuRequested(QPoint(5, 5));
    auto* pmDeskTopMonCal = test::control<QMenu>(*w, "pmDeskTopMonCal");
    ASSERT_TRUE(pmDeskTopMonCal->isVisible());
    pmDeskTopMonCal->hide();
    n->V1->trigger();
    EXPECT_EQ(n->rdtAbc->toPlainText(), "a√c");
    EXPECT_EQ(n->redt[2]->toPlainText(), "wednesday");

    struct Step {
        std::function<void()> act;
        const char* expected;
    };
    const Step steps[] = {
        {[&] { n->X1->trigger(); }, "a√×c"},
        {[&] { n->btnGou->click(); }, "a√×√c"},
        {[&] { n->btnX->click(); }, "a√×√×c"},
        {[&] { n->CtrlZ1->trigger(); }, "a√×√c"},
        {[&] {
             n->rdtAbc->selectAll();
             n->N3->trigger();
         },
         ""},
        {[&] { n->N2->trigger(); }, "a√×√c"},
        {[&] {
             n->rdtAbc->selectAll();
             n->N9->trigger();
         },
         ""},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(n->rdtAbc->toPlainText(), QString::fromUtf8(s.expected));
    }

    // The date stamp replaces the selection with today's date.
    n->rdtAbc->setPlainText("xy");
    n->rdtAbc->selectAll();
    QTest::mouseClick(n->imgDate, Qt::LeftButton);
    EXPECT_EQ(n->rdtAbc->toPlainText(), notes::dateStamp(today));
}

TEST_F(Notes, TheColourCommandNeedsTheDayEditorsFocus) {
    notesui::TNotesFrm* frm = nullptr;
    {
        test::ModalAnswers dialogs;
        test::control<QAction>(*w, "N_CalNotes")->trigger();
        frm = notesFrm();
    }
    ASSERT_TRUE(frm);
    ASSERT_TRUE(QTest::qWaitForWindowActive(frm));
    n->rdtAbc->setPlainText("红字");
    n->rdtAbc->selectAll();

    int dialogsSeen = 0;
    test::ModalAnswers dialogs([&](QWidget* dialog) {
        ++dialogsSeen;
        auto* colours = qobject_cast<QColorDialog*>(dialog);
        if (!colours) return;
        colours->setCurrentColor(QColor(255, 0, 0));
        colours->accept();
    });
    n->redt[1]->setFocus();
    QTest::mouseClick(n->btnRedColor, Qt::LeftButton);
    EXPECT_EQ(dialogsSeen, 0);

    n->rdtAbc->setFocus();
    ASSERT_TRUE(n->rdtAbc->hasFocus());
    QTest::mouseClick(n->btnRedColor, Qt::LeftButton);
    EXPECT_EQ(dialogsSeen, 1);
    QTextCursor probe(n->rdtAbc->document());
    probe.setPosition(1);
    EXPECT_EQ(probe.charFormat().foreground().color(), QColor(255, 0, 0));
    frm->close();
}

TEST_F(Notes, ClearEmptiesAndStoresTheWeekPageOnly) {
    notes::writeWeekPage(*dm, 4, page("d"));
    n->weekButtons[3]->click();
    n->rdtAbc->setPlainText("day text");
    n->btnClearCon->click();
    EXPECT_EQ(texts(n->redt), QStringList(6, QString()));
    for (const QByteArray& text : stored(4)) EXPECT_EQ(rtf::noteToPlainText(text), "");
    EXPECT_EQ(n->rdtAbc->toPlainText(), "day text");
}

TEST_F(Notes, ExportProposesThePagesNameAndWritesTheChosenNameWithTxt) {
    n->rdtAbc->setPlainText("第一行\n第二行");
    struct Case {
        const char* weekButton;  // clicked first: its page becomes the notes page
        int notePage;
        const char* proposed;
        const char* chosen;  // nothing: cancel
        const char* written;
    };
    const Case cases[] = {
        {nullptr, 0, "备忘录", "备忘录", "备忘录.txt"},
        {"btnC", 3, "C备忘录", "notes.txt", "notes.txt.txt"},
        {"btnE", 5, "E备忘录", nullptr, nullptr},
    };
    auto* N_OutPutCon = test::control<QAction>(*w, "N_OutPutCon");
    for (const Case& c : cases) {
        if (c.weekButton) test::control<QToolButton>(*w, c.weekButton)->click();
        ASSERT_EQ(w->notePage(), c.notePage);
        QString proposed;
        test::ModalAnswers dialogs([&](QWidget* dialog) {
            auto* save = qobject_cast<QFileDialog*>(dialog);
            if (!save) return;
            proposed = save->findChild<QLineEdit*>("fileNameEdit")->text();
            if (!c.chosen) return;
            type(save, f.folder.path(), c.chosen);
        });
        N_OutPutCon->trigger();
        EXPECT_EQ(proposed, QString::fromUtf8(c.proposed));
        if (c.written) {
            EXPECT_EQ(test::readFileBytes(f.folder / c.written), utf8ToGb18030("第一行\r\n第二行\r\n"));
        }
    }
    EXPECT_FALSE(std::filesystem::exists(f.folder / "E备忘录.txt"));

    // A place that cannot be written: an error box, nothing else.
    test::ModalAnswers failing([&](QWidget* dialog) {
        auto* save = qobject_cast<QFileDialog*>(dialog);
        if (!save) return;
        type(save, f.folder / "notes.txt.txt", "x");
    });
    N_OutPutCon->trigger();
    ASSERT_EQ(failing.messages.size(), 1);
    EXPECT_TRUE(failing.messages[0].startsWith("内容导出失败")) << failing.messages[0].toStdString();
}

TEST_F(Notes, TheNotesWindowShowsTheMainWindowsControlsAndKeepsThem) {
    notes::writeWeekPage(*dm, 2, page("b"));
    notes::writeDayNote(*dm, today, "today's note");
    rememberNotePage(f, 2);
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    ASSERT_EQ(w->notePage(), 2);
    QTextEdit* rdtAbc = n->rdtAbc;

    auto* N_CalNotes = test::control<QAction>(*w, "N_CalNotes");
    N_CalNotes->trigger();
    notesui::TNotesFrm* frm = notesFrm();
    ASSERT_TRUE(frm);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frm));
    EXPECT_EQ(frm->windowTitle(), "日历记事");
    EXPECT_EQ(frm->findChild<QTextEdit*>("rdtAbc"), rdtAbc);
    EXPECT_EQ(w->findChild<QTextEdit*>("rdtAbc"), rdtAbc) << "it is still the main window's control";
    for (const char* name : {"chnRili", "rdtAbc", "redt1", "redt6", "btnA", "btnE", "btnAbc_B", "btnGou", "btnX",
                             "btnDate", "btnRedColor", "btnClearCon", "btnOutPutCon"}) {
        auto* control = frm->findChild<QWidget*>(name);
        ASSERT_TRUE(control) << name;
        EXPECT_TRUE(control->isVisible()) << name;
    }
    // The pictures of the date and colour commands stay in the main window:
    // the notes window has them as buttons.
    EXPECT_FALSE(n->imgDate->isVisible());
    // The first time: the remembered page and today's note.
    EXPECT_EQ(texts(n->redt), pageTexts("b"));
    EXPECT_EQ(rdtAbc->toPlainText(), "today's note");
    EXPECT_EQ(n->chnRili->DateTime() - std::fmod(n->chnRili->DateTime(), 1.0), QDate(1899, 12, 30).daysTo(today));

    rdtAbc->setPlainText("changed today");
    n->redt[0]->setPlainText("monday");
    frm->close();
    EXPECT_EQ(storedDayText(today), "changed today");
    EXPECT_EQ(rtf::noteToPlainText(stored(2)[0]), "monday");
    // Closed, it keeps them: the main window shows none of them, and its
    // pages are as they were.
    const auto* pgcMain = test::control<QStackedWidget>(*w, "pgcMain");
    EXPECT_EQ(pgcMain->indexOf(test::control(*w, "tsMain")), 2);
    EXPECT_EQ(pgcMain->currentWidget(), test::control(*w, "ts_PicShow"));
    for (QWidget* control : {static_cast<QWidget*>(n->weekButtons[0]), static_cast<QWidget*>(rdtAbc),
                             static_cast<QWidget*>(n->redt[0]), static_cast<QWidget*>(n->weekLabels[5])}) {
        EXPECT_FALSE(control->isVisible());
        EXPECT_EQ(control->window(), frm);
    }
    EXPECT_EQ(w->findChild<QTextEdit*>("rdtAbc"), rdtAbc);

    // Opened again, it shows what the editors hold, without reloading.
    N_CalNotes->trigger();
    EXPECT_EQ(rdtAbc->toPlainText(), "changed today");
    EXPECT_EQ(frm, notesFrm());
    frm->close();
}

TEST_F(Notes, TheNotesWindowOpensOverTheMainWindowWholeOnTheScreenAndStaysWhereLeft) {
    const QRect available = w->screen()->availableGeometry();
    auto* N_CalNotes = test::control<QAction>(*w, "N_CalNotes");
    auto openNotes = [&] {
        N_CalNotes->trigger();
        notesui::TNotesFrm* frm = notesFrm();
        EXPECT_TRUE(frm && QTest::qWaitForWindowExposed(frm));
        return frm;
    };
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));

    // The main window at the screen's left edge, halfway down: the notes
    // window is centred on it (upright), since the screen has room above and
    // below.
    w->move(available.left(), available.center().y() - w->height() / 2);
    notesui::TNotesFrm* frm = openNotes();
    ASSERT_TRUE(frm);
    EXPECT_EQ(frm->geometry().center().y(), w->frameGeometry().center().y());
    EXPECT_GE(frm->x(), available.left());
    frm->close();

    // Moved by the user, it opens there again, wherever the main window is.
    frm->move(available.topLeft() + QPoint(7, 9));
    w->move(available.bottomRight() - QPoint(100, 100));
    EXPECT_EQ(openNotes(), frm);
    EXPECT_EQ(frm->pos(), available.topLeft() + QPoint(7, 9));
    frm->close();
}

TEST_F(Notes, TheNotesWindowOpensInsideTheScreenBesideAMainWindowAtItsEdge) {
    const QRect available = w->screen()->availableGeometry();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    w->move(available.bottomRight() - QPoint(100, 100));
    test::control<QAction>(*w, "N_CalNotes")->trigger();
    notesui::TNotesFrm* frm = notesFrm();
    ASSERT_TRUE(frm && QTest::qWaitForWindowExposed(frm));
    // Centred on the main window it would hang below the screen: it stands on
    // the free area's bottom edge instead, as near the main window as it can.
    EXPECT_EQ(frm->geometry().bottom(), available.bottom());
    EXPECT_GE(frm->x(), available.left());
    EXPECT_LE(frm->geometry().right(), available.right());
    frm->close();
}

TEST_F(Notes, TheNotesWindowsDialogsBelongToItWhileItIsOpen) {
    auto* N_OutPutCon = test::control<QAction>(*w, "N_OutPutCon");
    std::vector<QWidget*> owners;
    test::ModalAnswers answers([&](QWidget* dialog) { owners.push_back(dialog->parentWidget()); });

    test::control<QAction>(*w, "N_CalNotes")->trigger();
    notesui::TNotesFrm* frm = notesFrm();
    ASSERT_TRUE(frm && QTest::qWaitForWindowActive(frm));
    n->rdtAbc->setFocus();
    ASSERT_TRUE(n->rdtAbc->hasFocus());
    QTest::mouseClick(n->btnRedColor, Qt::LeftButton);  // the colour dialog
    N_OutPutCon->trigger();                             // the export dialog
    frm->close();
    N_OutPutCon->trigger();  // from the main window again
    EXPECT_EQ(owners, (std::vector<QWidget*>{frm, frm, w}));
}
