// What keeps a diary safe in the notes window: notes too large to edit,
// failures named with their cause, the export of every note, the daily
// backup, notes that could not be saved when the program ended, and texts
// in Chinese whatever the locale.
#include "ModalAnswers.h"
#include "NoteEditing.h"
#include "NoteRecovery.h"
#include "NotesTestSupport.h"

#include <QAccessible>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// Records the texts of every message box shown while it lives (its text,
// a line end and its informative text; its buttons' captions apart), and
// answers it with the button captioned `caption`, if it has one.
class BoxAnswer : public QObject {
public:
    explicit BoxAnswer(QString caption = {}) : caption_(std::move(caption)) { qApp->installEventFilter(this); }
    ~BoxAnswer() override { qApp->removeEventFilter(this); }
    QStringList asked;
    QStringList buttons;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (!box || event->type() != QEvent::Show) return false;
        QMetaObject::invokeMethod(
            this,
            [this, box = QPointer<QMessageBox>(box)] {
                if (!box) return;
                asked << box->text() + u'\n' + box->informativeText();
                for (QAbstractButton* button : box->buttons()) buttons << button->text();
                for (QAbstractButton* button : box->buttons())
                    if (button->text() == caption_) button->click();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    QString caption_;
};

}  // namespace

TEST_F(Notes, AHugeNoteOpensAtOnceAsAReadOnlyPreviewAndStaysWhole) {
    const QByteArray huge(8 * 1024 * 1024, 'x');  // one line of eight million characters
    notes::writeDayNote(*dm, today, huge);
    notes::writeWeekPage(*dm, 1, {"monday", huge, "", "", "", ""});
    notesui::TNotesFrm* frm = openNotes();
    ASSERT_TRUE(frm);
    EXPECT_TRUE(n->rdtAbc->isReadOnly());
    EXPECT_LE(n->rdtAbc->document()->characterCount(),
              notes::kPreviewChars + notes::kPreviewChars / notes::kPreviewLineChars + 1);
    EXPECT_TRUE(n->redt[1]->isReadOnly());
    EXPECT_FALSE(n->redt[0]->isReadOnly());
    const QString status = test::control<QLabel>(*frm, "lblNotesStatus")->text();
    EXPECT_TRUE(status.contains(QStringLiteral("日记很大（8.0 MB）"))) << status.toStdString();

    // Nothing typed into the preview can be lost, and nothing of it is saved.
    const QString dayPreview = n->rdtAbc->toPlainText(), weekPreview = n->redt[1]->toPlainText();
    n->btnGou->click();
    n->btnClearCon->click();
    EXPECT_EQ(n->rdtAbc->toPlainText(), dayPreview);
    EXPECT_EQ(n->redt[1]->toPlainText(), weekPreview);
    leave(n->rdtAbc);
    frm->close();
    EXPECT_EQ(storedDay(today).value(), huge);
    EXPECT_EQ(stored(1)[1], huge);
    EXPECT_EQ(rtf::noteToPlainText(stored(1)[0]), "") << "the other columns are cleared";

    // Another day's small note is editable again.
    notes::writeDayNote(*dm, today.addDays(1), "small");
    n->chnRili->setDateTime(dayValue(today.addDays(1)));
    EXPECT_FALSE(n->rdtAbc->isReadOnly());
}

TEST_F(Notes, AFailureSaysWhyInChineseBelowItsOwnWords) {
    openNotes();
    n->rdtAbc->setPlainText("typed");
    dm->AdoCon.close();
    test::writeFileBytes(f.state->folder.path(TDM::kDatabaseName), "not a database");
    BoxAnswer answers;
    test::ModalAnswers boxes;
    n->btnAbc_B->click();
    ASSERT_EQ(boxes.messages, std::vector<QString>{"保存记事内容失败，内容仍保留在编辑框中！"});
    ASSERT_EQ(answers.asked.size(), 1);
    EXPECT_TRUE(answers.asked[0].endsWith(QStringLiteral("原因：文件不是数据库"))) << answers.asked[0].toStdString();
    notesFrm()->close();
}

TEST_F(Notes, NotesThatCannotBeLoadedTakeNoTypingAndTheStatusLineSaysWhy) {
    // Another program's SQLite file where the notes should be.
    dm->AdoCon.close();
    const auto database = f.state->folder.path(TDM::kDatabaseName);
    std::filesystem::create_directories(database.parent_path());
    test::writeFileBytes(database, "");
    {
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(database.c_str(), &other), SQLITE_OK);
        sqlite3_exec(other, "create table contacts (name text)", nullptr, nullptr, nullptr);
        sqlite3_close(other);
    }
    test::ModalAnswers boxes;
    test::control<QAction>(*w, "N_CalNotes")->trigger();
    EXPECT_FALSE(boxes.messages.empty());
    const QString why = QStringLiteral("记事没能读出（这个文件是数据库，但不是记事数据库");
    EXPECT_TRUE(n->rdtAbc->isReadOnly());
    EXPECT_TRUE(n->rdtAbc->placeholderText().startsWith(why)) << n->rdtAbc->placeholderText().toStdString();
    for (QTextEdit* editor : n->redt) {
        EXPECT_TRUE(editor->isReadOnly());
        EXPECT_TRUE(editor->placeholderText().startsWith(why));
    }
    // Typing goes nowhere it could be lost from.
    n->btnGou->click();
    EXPECT_EQ(n->rdtAbc->toPlainText(), QString());

    // Once the notes can be read again, the editors take typing again.
    dm->AdoCon.close();
    std::filesystem::remove(database);
    n->btnAbc_B->click();
    EXPECT_FALSE(n->rdtAbc->isReadOnly());
    EXPECT_TRUE(n->rdtAbc->placeholderText().isEmpty());
    EXPECT_TRUE(n->redt[0]->isReadOnly()) << "the week page is still the one that could not be loaded";
    n->weekButtons[1]->click();
    EXPECT_FALSE(n->redt[0]->isReadOnly());
    if (notesFrm()) notesFrm()->close();
}

TEST_F(Notes, EveryNoteIsExportedFromTheWindowAndADailyBackupIsMade) {
    notes::writeDayNote(*dm, QDate(2010, 6, 1), "六月一日");
    notes::writeWeekPage(*dm, 3, {"", "", "周三", "", "", ""});
    notesui::TNotesFrm* frm = openNotes();
    ASSERT_TRUE(frm);
    // Once the window is up.
    QTRY_VERIFY(std::filesystem::exists(f.folder / "Data" / "Backup" / "Notes-20110313.db"));

    n->rdtAbc->setPlainText("on screen, not yet saved");
    std::filesystem::create_directory(f.folder / "导出");
    test::ModalAnswers dialogs([&](QWidget* dialog) {
        if (auto* folder = qobject_cast<QFileDialog*>(dialog)) type(folder, f.folder.path(), "导出");
    });
    test::control<QAction>(*frm, "N_ExportAllNotes")->trigger();
    const auto out = f.folder / "导出";
    EXPECT_EQ(test::readFileBytes(out / "20100601.txt"), "六月一日\n");
    EXPECT_EQ(test::readFileBytes(out / "20110313.txt"), "on screen, not yet saved\n");
    EXPECT_TRUE(std::filesystem::exists(out / "周记C.txt"));
    EXPECT_TRUE(std::filesystem::exists(out / "全部记事.html"));
    EXPECT_TRUE(
        test::control<QLabel>(*frm, "lblNotesStatus")->text().startsWith(QStringLiteral("已导出 2 篇日记、1 页周记")));
    frm->close();
}

TEST_F(Notes, EndingWithNotesThatCannotBeSavedKeepsThemWithoutAskingAndTheNextStartOffersThem) {
    openNotes();
    n->rdtAbc->setPlainText("the day's text");
    n->redt[0]->setPlainText("monday's text");
    dm->AdoCon.close();
    const auto database = f.state->folder.path(TDM::kDatabaseName);
    const std::string saved = test::readFileBytes(database);
    test::writeFileBytes(database, "the disk failed");

    // A logout: nothing may wait for an answer.
    test::ModalAnswers dialogs;
    QMetaObject::invokeMethod(qApp, "aboutToQuit", Qt::DirectConnection);
    EXPECT_TRUE(dialogs.messages.empty());
    const notes::UnsavedNotes kept = notes::readUnsavedNotes(notes::recoveryFiles(f.state->folder));
    ASSERT_EQ(kept.days.size(), 1u);
    EXPECT_EQ(kept.days[0].date, today);
    ASSERT_EQ(kept.weeks.size(), 1u);

    // The next start, with the disk mended.
    f.window.reset();
    test::writeFileBytes(database, saved);
    test::MainWindowFixture next;
    std::filesystem::copy(f.folder.path(), next.folder.path(),
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    app::TMainFrm& again = next.create();
    TDM nextDm(next.state->folder);
    again.attachDataModule(&nextDm);
    BoxAnswer answer(QStringLiteral("写回记事"));
    next.show();
    QTRY_COMPARE(answer.asked.size(), 1);
    EXPECT_TRUE(answer.asked[0].contains(QStringLiteral("2011年3月13日的日记、周记 A 页")))
        << answer.asked[0].toStdString();
    QTRY_VERIFY(notes::readUnsavedNotes(notes::recoveryFiles(next.state->folder)).empty());
    EXPECT_EQ(rtf::noteToPlainText(notes::readDayNote(nextDm, today).value()), "the day's text");
    EXPECT_EQ(rtf::noteToPlainText(notes::readWeekPage(nextDm, 1)[0]), "monday's text");
}

// Run in a process of its own for each locale (below): every text of the
// window a person can see or hear is Chinese.
TEST_F(Notes, LocaleChild) {
    if (qEnvironmentVariableIsEmpty("TAVLO_NOTES_LOCALE_CHILD")) GTEST_SKIP() << "run by TextsAreChineseInEveryLocale";
    notes::writeDayNote(*dm, today, "x");
    notesui::TNotesFrm* frm = openNotes();
    ASSERT_TRUE(frm);
    // A search that finds nothing, and a failure with its cause.
    test::control<QLineEdit>(*frm, "edtSearch")->setText(QStringLiteral("没有"));
    QTest::keyClick(test::control(*frm, "edtSearch"), Qt::Key_Return);
    QStringList texts{frm->windowTitle(), test::control<QLabel>(*frm, "lblNotesStatus")->text()};
    dm->AdoCon.close();
    test::writeFileBytes(f.state->folder.path(TDM::kDatabaseName), "damaged");
    BoxAnswer answers;
    test::ModalAnswers boxes;
    n->btnAbc_A->click();
    ASSERT_EQ(answers.asked.size(), 1);
    texts += answers.asked + answers.buttons;
    // The calendar control's own texts are its own module's.
    for (QWidget* widget : frm->findChildren<QWidget*>()) {
        if (widget == n->chnRili || n->chnRili->isAncestorOf(widget) || !widget->isVisible()) continue;
        texts << widget->toolTip() << widget->accessibleName();
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) texts << button->text();
        if (auto* label = qobject_cast<QLabel*>(widget)) texts << label->text();
        if (auto* field = qobject_cast<QLineEdit*>(widget)) texts << field->placeholderText();
        if (auto* menuButton = qobject_cast<QToolButton*>(widget); menuButton && menuButton->menu())
            for (QAction* item : menuButton->menu()->actions()) texts << item->text() << item->toolTip();
    }
    // Latin words are allowed only as the letters of pages and of the
    // note's own text.
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    for (const QString& text : texts) {
        if (text.isEmpty() || text == QLatin1String("x") || text.contains(QStringLiteral("Ctrl+Z"))) continue;
        EXPECT_FALSE(word.match(text).hasMatch()) << text.toStdString();
    }
    frm->close();
}

TEST(NotesLocales, TextsAreChineseInEveryLocale) {
    for (const char* locale : {"C", "C.UTF-8", "en_US.UTF-8", "zh_CN.UTF-8"}) {
        SCOPED_TRACE(locale);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", locale);
        environment.insert("LANG", locale);
        environment.insert("LANGUAGE", "");
        environment.insert("TAVLO_NOTES_LOCALE_CHILD", "1");
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=Notes.LocaleChild"});
        ASSERT_TRUE(child.waitForFinished(60000));
        const QByteArray out = child.readAllStandardOutput();
        EXPECT_EQ(child.exitCode(), 0) << out.toStdString();
        EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
    }
}
