#pragma once
// The notes window tests' fixture: a main window with its data module in a
// fresh program folder, its notes controls found by name, "now" pinned.
#include "ChnCalendarPicker.h"
#include "NoteStore.h"
#include "Rtf.h"
#include "WindowTestSupport.h"
#include "uDM.h"
#include "uNotesFrm.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include <ctime>
#include <memory>
#include <optional>

namespace tavlo::test {

using notes::WeekTexts;

inline double dayValue(const QDate& date) {
    return QDate(1899, 12, 30).daysTo(date) + 0.5;
}

inline QStringList texts(const std::array<QTextEdit*, 6>& editors) {
    QStringList list;
    for (QTextEdit* e : editors) list << e->toPlainText();
    return list;
}

inline WeekTexts page(const char* prefix) {
    WeekTexts t;
    for (int i = 0; i < 6; ++i) t[i] = QByteArray(prefix) + QByteArray::number(i + 1);
    return t;
}

inline QStringList pageTexts(const char* prefix) {
    QStringList list;
    for (int i = 0; i < 6; ++i) list << QString::fromLatin1(prefix) + QString::number(i + 1);
    return list;
}

inline void leave(QWidget* editor) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(editor, &out);
}

// The user goes to `folder` and types `name` into the save dialog.
inline void type(QFileDialog* dialog, const std::filesystem::path& folder, const char* name) {
    dialog->setDirectory(QString::fromStdString(folder.string()));
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromUtf8(name));
    static_cast<QDialog*>(dialog)->accept();
}

inline QColor textColour(QToolButton* button) {
    return button->palette().color(QPalette::ButtonText);
}

// The main window's calendar and notes controls, found by their names.
struct NotesControls {
    explicit NotesControls(const app::TMainFrm& w)
        : pnlABC(test::control(w, "pnlABC")), chnRili(test::control<TChnCalendar>(w, "chnRili")),
          rdtAbc(test::control<QTextEdit>(w, "rdtAbc")), btnAbc_A(test::control<QToolButton>(w, "btnAbc_A")),
          btnAbc_B(test::control<QToolButton>(w, "btnAbc_B")), btnAbc_C(test::control<QToolButton>(w, "btnAbc_C")),
          btnClearCon(test::control<QToolButton>(w, "btnClearCon")), btnGou(test::control<QToolButton>(w, "btnGou")),
          btnX(test::control<QToolButton>(w, "btnX")), btnDate(test::control<QToolButton>(w, "btnDate")),
          btnRedColor(test::control<QToolButton>(w, "btnRedColor")), imgDate(test::control(w, "imgDate")),
          imgRedColor(test::control(w, "imgRedColor")), N1(test::control<QAction>(w, "N1")),
          N2(test::control<QAction>(w, "N2")), N9(test::control<QAction>(w, "N9")), N3(test::control<QAction>(w, "N3")),
          V1(test::control<QAction>(w, "V1")), X1(test::control<QAction>(w, "X1")),
          CtrlZ1(test::control<QAction>(w, "CtrlZ1")) {
        for (int i = 0; i < 6; ++i)
            redt[i] = test::control<QTextEdit>(w, QStringLiteral("redt%1").arg(i + 1).toLatin1().constData());
        for (int k = 0; k < 5; ++k)
            weekButtons[k] = test::control<QToolButton>(w, QByteArray("btn").append(char('A' + k)).constData());
        // The day captions above the week editors carry no names of their own.
        const QList<QLabel*> labels =
            test::control(w, "NotesWeekGrid")->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
        for (int i = 0; i < 6 && i < labels.size(); ++i) weekLabels[i] = labels[i];
    }

    QWidget* pnlABC;
    TChnCalendar* chnRili;
    QTextEdit* rdtAbc;
    QToolButton *btnAbc_A, *btnAbc_B, *btnAbc_C, *btnClearCon, *btnGou, *btnX, *btnDate, *btnRedColor;
    QWidget *imgDate, *imgRedColor;
    QAction *N1, *N2, *N9, *N3, *V1, *X1, *CtrlZ1;
    std::array<QTextEdit*, 6> redt{};
    std::array<QLabel*, 6> weekLabels{};
    std::array<QToolButton*, 5> weekButtons{};
};

// The geometry file a window reads at its first show, with notes page `page`.
inline void rememberNotePage(const test::MainWindowFixture& f, int page) {
    test::writeFileBytes(f.folder / "Data/FormSize.ini", std::to_string(page) + "\r\n830\r\n500\r\n0\r\n0\r\n");
}

class Notes : public testing::Test {
protected:
    // "Now" is pinned, so that no test depends on the day it runs or on
    // midnight passing while it runs.
    static constexpr std::time_t kNow = 1300000000;  // 13 March 2011, 07:06 UTC

    void SetUp() override {
        f.state->clock = [] { return kNow; };
        w = &f.create();
        dm = std::make_unique<TDM>(f.state->folder);
        w->attachDataModule(dm.get());
        controls = std::make_unique<NotesControls>(*w);
        n = controls.get();
    }
    // The "日历记事" window, once opened.
    notesui::TNotesFrm* notesFrm() const { return w->findChild<notesui::TNotesFrm*>(); }
    // Opens it from the options menu and waits until it is active.
    notesui::TNotesFrm* openNotes() {
        test::control<QAction>(*w, "N_CalNotes")->trigger();
        notesui::TNotesFrm* frm = notesFrm();
        EXPECT_TRUE(frm && QTest::qWaitForWindowActive(frm));
        return frm;
    }
    // What is stored, through a data module of its own.
    WeekTexts stored(int pageNumber) {
        TDM other(f.state->folder);
        return notes::readWeekPage(other, pageNumber);
    }
    std::optional<QByteArray> storedDay(const QDate& date) {
        TDM other(f.state->folder);
        return notes::readDayNote(other, date);
    }
    QString storedDayText(const QDate& date) {
        QTextDocument document;
        const auto bytes = storedDay(date);
        if (bytes) rtf::loadNoteText(*bytes, document);
        return document.toPlainText();
    }

    test::MainWindowFixture f;
    const QDate today = QDateTime::fromSecsSinceEpoch(kNow).date();
    std::unique_ptr<TDM> dm;
    app::TMainFrm* w = nullptr;
    std::unique_ptr<NotesControls> controls;
    NotesControls* n = nullptr;
};

}  // namespace tavlo::test

using Notes = tavlo::test::Notes;
