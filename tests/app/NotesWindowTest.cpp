// The "日历记事" window as a person uses it: its layout at every size, the
// marks of the days with notes, search, and every command reachable by the
// keyboard and named for screen readers.
#include "CalendarDates.h"
#include "DayGrid.h"
#include "ModalAnswers.h"
#include "NoteEditing.h"
#include "NoteRecovery.h"
#include "NotesTestSupport.h"
#include "NotesWeekGrid.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QColorDialog>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>

using namespace tavlo;
using namespace tavlo::test;

namespace {

QRect inWindow(const QWidget* widget) {
    return QRect(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
}

bool isChinese(const QString& text) {
    static const QRegularExpression han(QStringLiteral("\\p{Han}"));
    return han.match(text).hasMatch();
}

// The x of every black pixel on a row of the picture, from `left` on:
// where the grid's lines are.
std::vector<int> blackColumns(const QImage& image, int left, int y) {
    std::vector<int> columns;
    for (int x = left; x < image.width(); ++x)
        if (image.pixelColor(x, y) == QColor(Qt::black)) columns.push_back(x);
    return columns;
}

// Whether the day's cell of the calendar's month shows the mark.
bool marked(TChnCalendar* calendar, int day) {
    auto* grid = calendar->findChild<calendar::TDayGrid*>();
    const calendar::TMonthModel& month = calendar->Month();
    const int first = QDate(month.Year, month.MonthNumber, 1).dayOfWeek() % 7 + 1;
    const int cell = first + day - 1;
    const QRect rect = grid->cellRect((cell - 1) % 7 + 1, (cell - 1) / 7 + 1);
    const QImage image = grid->grab(rect).toImage();
    return image.pixelColor(image.width() - 6, 5) == QColor(230, 110, 0);
}

}  // namespace

TEST_F(Notes, TheWeekPageIsAnEvenGridAndEverythingStaysAlignedAtEverySize) {
    notes::writeWeekPage(*dm, 1, page("a"));
    notesui::TNotesFrm* frm = openNotes();
    ASSERT_TRUE(frm);
    const QRect available = frm->screen()->availableGeometry();
    auto* grid = frm->findChild<notesui::NotesWeekGrid*>();
    auto* dayArea = test::control(*frm, "NotesDayArea");
    auto* more = test::control<QToolButton>(*frm, "btnNotesMore");
    for (const QSize size : {frm->minimumSizeHint(), notesui::TNotesFrm::kClientSize, available.size()}) {
        SCOPED_TRACE(std::to_string(size.width()) + " x " + std::to_string(size.height()));
        frm->resize(size);
        frm->layout()->activate();
        QApplication::sendPostedEvents();
        ASSERT_GE(frm->width(), frm->minimumSizeHint().width());

        std::array<QRect, 6> editors, captions;
        for (int i = 0; i < 6; ++i) {
            editors[i] = inWindow(n->redt[i]);
            captions[i] = inWindow(n->weekLabels[i]);
        }
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(editors[i].size(), editors[0].size()) << i;
            EXPECT_EQ(editors[i].left(), editors[i % 3].left()) << "columns aligned, " << i;
            EXPECT_EQ(editors[i].top(), editors[i / 3 * 3].top()) << "rows aligned, " << i;
            // The caption is a strip as wide as its editor, right above it,
            // with its text centred.
            EXPECT_EQ(captions[i].left(), editors[i].left()) << i;
            EXPECT_EQ(captions[i].width(), editors[i].width()) << i;
            EXPECT_EQ(captions[i].bottom() + 1, editors[i].top()) << i;
            EXPECT_EQ(n->weekLabels[i]->alignment(), Qt::AlignCenter) << i;
        }
        EXPECT_GE(editors[0].width(), 100);
        EXPECT_GE(editors[0].height(), 50);

        // Read back from the picture: one-pixel lines around and between
        // the editors, exactly where the editors end.
        const QImage shot = frm->grab().toImage();
        const int y = editors[0].center().y();
        EXPECT_EQ(blackColumns(shot, inWindow(grid).left(), y),
                  (std::vector<int>{editors[0].left() - 1, editors[1].left() - 1, editors[2].left() - 1,
                                    editors[2].right() + 1}));
        EXPECT_EQ(shot.pixelColor(editors[0].center().x(), captions[3].top() - 1), QColor(Qt::black));
        EXPECT_EQ(shot.pixelColor(editors[0].center().x(), captions[3].top() - 2),
                  n->redt[0]->palette().base().color());

        // One grid for the buttons and the areas below them.
        const QRect days = inWindow(dayArea), weeks = inWindow(grid);
        const QRect weekFrame = notesui::weekGridPlaces(grid->size()).frame.translated(weeks.topLeft());
        EXPECT_EQ(inWindow(n->btnGou).left(), days.left());
        EXPECT_EQ(inWindow(n->btnAbc_C).right(), days.right());
        EXPECT_EQ(inWindow(n->weekButtons[0]).left(), weekFrame.left());
        EXPECT_NEAR(inWindow(more).right(), weekFrame.right(), 2);
        EXPECT_EQ(days.top(), weekFrame.top());
        for (QToolButton* b : {n->btnGou, n->btnAbc_A, n->weekButtons[0], more})
            EXPECT_EQ(inWindow(b).top(), inWindow(n->btnGou).top()) << b->objectName().toStdString();
        EXPECT_TRUE(frm->rect().contains(inWindow(n->redt[5])));
        EXPECT_TRUE(frm->rect().contains(inWindow(n->rdtAbc)));
        EXPECT_GE(n->rdtAbc->height(), 90);
    }
    frm->close();
}

TEST_F(Notes, DaysWithNotesAreMarkedAndTheMarksFollowSavesAndMonths) {
    QTextDocument empty;
    notes::writeDayNote(*dm, QDate(2011, 3, 5), "a note");
    notes::writeDayNote(*dm, QDate(2011, 3, 20), rtf::writeRtf(empty));
    notes::writeDayNote(*dm, QDate(2011, 4, 2), "in April");
    notesui::TNotesFrm* frm = openNotes();
    ASSERT_TRUE(frm);
    EXPECT_TRUE(marked(n->chnRili, 5));
    EXPECT_FALSE(marked(n->chnRili, 20)) << "an empty note";
    EXPECT_FALSE(marked(n->chnRili, 13));
    EXPECT_FALSE(marked(n->chnRili, 2));

    // Today's note written: its day is marked as soon as it is saved.
    n->rdtAbc->setPlainText("today");
    leave(n->rdtAbc);
    EXPECT_TRUE(marked(n->chnRili, 13));

    n->chnRili->setDateTime(dayValue(QDate(2011, 4, 2)));
    EXPECT_TRUE(marked(n->chnRili, 2));
    EXPECT_FALSE(marked(n->chnRili, 5));
    n->rdtAbc->clear();
    leave(n->rdtAbc);
    EXPECT_FALSE(marked(n->chnRili, 2)) << "an emptied note keeps its mark";
    frm->close();
}

TEST_F(Notes, SearchListsTheMatchingLinesAndOpensTheirNotes) {
    notes::writeDayNote(*dm, QDate(2010, 6, 1), "第一行\n下午开会");
    notes::writeDayNote(*dm, QDate(2011, 3, 1), "nothing to find");
    notes::writeWeekPage(*dm, 2, {"", "", "周三开会", "", "", ""});
    notesui::TNotesFrm* frm = openNotes();
    ASSERT_TRUE(frm);
    auto* field = test::control<QLineEdit>(*frm, "edtSearch");
    auto* results = test::control<QListWidget>(*frm, "lstSearchResults");
    auto* status = test::control<QLabel>(*frm, "lblNotesStatus");
    EXPECT_FALSE(results->isVisible());

    field->setText(QStringLiteral("开会"));
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_EQ(results->count(), 2);
    EXPECT_EQ(results->item(0)->text(), QStringLiteral("2010年6月1日（二）  下午开会"));
    EXPECT_EQ(results->item(1)->text(), QStringLiteral("周记 B 页 周三  周三开会"));
    EXPECT_TRUE(results->isVisible());
    EXPECT_TRUE(status->text().contains(QStringLiteral("找到 2 处")));

    QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, results->visualItemRect(results->item(0)).center());
    EXPECT_EQ(calendar::calendarDay(n->chnRili->DateTime()), QDate(2010, 6, 1));
    EXPECT_EQ(n->rdtAbc->toPlainText(), QStringLiteral("第一行\n下午开会"));
    EXPECT_EQ(n->rdtAbc->textCursor().selectedText(), QStringLiteral("开会"));

    results->setCurrentRow(1);
    QTest::keyClick(results, Qt::Key_Return);
    EXPECT_EQ(w->notePage(), 2);
    EXPECT_EQ(n->redt[2]->textCursor().selectedText(), QStringLiteral("开会"));

    field->setText(QStringLiteral("没有的字"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(results->isVisible());
    EXPECT_EQ(status->text(), QStringLiteral("没有找到包含“没有的字”的记事。"));

    // A text far wider than the window leaves the window as wide as it was.
    const int width = frm->width();
    field->setText(QString(20000, u'x'));
    QTest::keyClick(field, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(frm->width(), width);
    EXPECT_LT(status->text().size(), 100);
    // Whatever the status line says.
    status->setText(QString(20000, u'x'));
    QTest::qWait(100);
    EXPECT_EQ(frm->width(), width);
    frm->close();
}

TEST_F(Notes, EveryCommandIsANamedButtonThatTheKeyboardAndScreenReadersCanRun) {
    notesui::TNotesFrm* frm = openNotes();
    ASSERT_TRUE(frm);
    std::vector<QAbstractButton*> buttons;
    for (QAbstractButton* b : frm->findChildren<QAbstractButton*>())
        if (b->isVisible()) buttons.push_back(b);
    ASSERT_GE(buttons.size(), 16u);
    for (QAbstractButton* b : buttons) {
        SCOPED_TRACE(b->objectName().toStdString());
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(b);
        ASSERT_TRUE(face);
        EXPECT_TRUE(face->role() == QAccessible::Button || face->role() == QAccessible::ButtonMenu);
        EXPECT_TRUE(isChinese(face->text(QAccessible::Name))) << face->text(QAccessible::Name).toStdString();
        EXPECT_TRUE(isChinese(b->toolTip())) << b->toolTip().toStdString();
        ASSERT_TRUE(face->actionInterface());
        EXPECT_FALSE(face->actionInterface()->actionNames().isEmpty());
    }
    for (QAction* item : test::control<QToolButton>(*frm, "btnNotesMore")->menu()->actions())
        EXPECT_TRUE(isChinese(item->text()) && isChinese(item->toolTip())) << item->text().toStdString();

    // The button the keyboard is on can be seen.
    const QImage plain = n->weekButtons[1]->grab().toImage();
    n->weekButtons[1]->setFocus(Qt::TabFocusReason);
    EXPECT_NE(n->weekButtons[1]->grab().toImage(), plain);

    // Tab visits every command, in order, then the editors and the search.
    n->btnGou->setFocus(Qt::TabFocusReason);
    std::vector<QWidget*> visited{n->btnGou};
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == n->btnGou) break;
        visited.push_back(QApplication::focusWidget());
    }
    auto* more = test::control<QToolButton>(*frm, "btnNotesMore");
    auto* exportDay = test::control(*frm, "btnOutPutCon");
    const std::vector<QWidget*> inOrder = {
        n->btnGou,         n->btnX,           n->btnDate,        n->btnRedColor,    n->btnAbc_A,
        n->btnAbc_B,       n->btnAbc_C,       n->weekButtons[0], n->weekButtons[1], n->weekButtons[2],
        n->weekButtons[3], n->weekButtons[4], n->btnClearCon,    exportDay,         more};
    std::vector<QWidget*> commandsVisited;
    for (QWidget* widget : visited)
        if (std::find(inOrder.begin(), inOrder.end(), widget) != inOrder.end() &&
            std::find(commandsVisited.begin(), commandsVisited.end(), widget) == commandsVisited.end())
            commandsVisited.push_back(widget);
    EXPECT_EQ(commandsVisited, inOrder);
    for (QWidget* editor :
         {static_cast<QWidget*>(n->rdtAbc), static_cast<QWidget*>(n->redt[5]), test::control(*frm, "edtSearch")})
        EXPECT_NE(std::find(visited.begin(), visited.end(), editor), visited.end())
            << editor->objectName().toStdString();

    // Enter and Space run the command that has the focus.
    n->rdtAbc->clear();
    n->btnX->setFocus(Qt::TabFocusReason);
    QTest::keyClick(n->btnX, Qt::Key_Return);
    QTest::keyClick(n->btnX, Qt::Key_Space);
    EXPECT_EQ(n->rdtAbc->toPlainText(), QStringLiteral("××"));

    // Each pressed through the accessible tree, as a screen reader does (the
    // menu button offers its menu; its item is a command of its own).
    const auto press = [](QWidget* b) {
        QAccessible::queryAccessibleInterface(b)->actionInterface()->doAction(
            QAccessibleActionInterface::pressAction());
    };
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(more)->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::showMenuAction()));
    struct Command {
        QWidget* button;
        std::function<bool()> done;
    };
    const Command commands[] = {
        {n->btnGou, [&] { return n->rdtAbc->toPlainText() == QStringLiteral("√"); }},
        {n->btnX, [&] { return n->rdtAbc->toPlainText() == QStringLiteral("√×"); }},
        {n->btnDate, [&] { return n->rdtAbc->toPlainText().endsWith(notes::dateStamp(today)); }},
        {n->btnAbc_B, [&] { return w->notePage() == 2; }},
        {n->weekButtons[2], [&] { return w->notePage() == 3; }},
        {n->btnClearCon, [&] { return n->redt[0]->toPlainText().isEmpty(); }},
        {test::control(*frm, "btnSearch"),
         [&] { return !test::control<QLabel>(*frm, "lblNotesStatus")->text().isEmpty(); }},
    };
    n->rdtAbc->clear();
    n->redt[0]->setPlainText("monday");
    for (const Command& c : commands) {
        press(c.button);
        EXPECT_TRUE(c.done()) << c.button->objectName().toStdString();
    }

    // The commands with a dialog last, as a dialog takes the focus away: the
    // colour command reached by Tab from the day editor, and the export.
    std::vector<QString> dialogs;
    test::ModalAnswers answers([&](QWidget* dialog) { dialogs.push_back(dialog->metaObject()->className()); });
    n->rdtAbc->setFocus(Qt::TabFocusReason);
    n->btnRedColor->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(n->btnRedColor->hasFocus());
    QTest::keyClick(n->btnRedColor, Qt::Key_Return);
    press(exportDay);
    EXPECT_EQ(dialogs, (std::vector<QString>{"QColorDialog", "QFileDialog"}));
    frm->close();
}

TEST_F(Notes, TheProgramEndsWithTheNotesWindowOpenAndAnEditorInUse) {
    notesui::TNotesFrm* frm = openNotes();
    ASSERT_TRUE(frm);
    n->rdtAbc->setPlainText("typed just before the end");
    n->rdtAbc->setFocus();
    ASSERT_TRUE(n->rdtAbc->hasFocus());
    // The program's end saves; destroying the windows then moves the focus
    // out of the editor, which must save nothing more (its parts are gone).
    QMetaObject::invokeMethod(qApp, "aboutToQuit", Qt::DirectConnection);
    // With the database gone bad from here on, a save while the windows are
    // destroyed would fail and keep the editor's text for recovery.
    dm->AdoCon.close();
    const auto database = f.state->folder.path(TDM::kDatabaseName);
    const std::string saved = test::readFileBytes(database);
    test::writeFileBytes(database, "the disk failed");
    f.window.reset();
    EXPECT_TRUE(notes::readUnsavedNotes(notes::recoveryFiles(f.state->folder)).empty());
    test::writeFileBytes(database, saved);
    EXPECT_EQ(storedDayText(today), "typed just before the end");
}
