#pragma once
#include "NoteEditing.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QAction;
class QColorDialog;
class QFileDialog;
class QLabel;
class QTextEdit;
class QToolButton;
class QWidget;

namespace tavlo {
class TChnCalendar;
class TDM;
namespace widgets {
class TImage;
}
}  // namespace tavlo

namespace tavlo::app {

class TNotesFrm;

// The main window's calendar and notes controls and their state. None of
// them shows in the window's own layout; the "日历记事" window borrows them.
struct NotesParts {
    // The day area.
    QWidget* pnlABC = nullptr;
    TChnCalendar* chnRili = nullptr;
    QTextEdit* rdtAbc = nullptr;
    QToolButton* btnAbc_A = nullptr;
    QToolButton* btnAbc_B = nullptr;
    QToolButton* btnAbc_C = nullptr;
    QToolButton* btnClearCon = nullptr;
    QToolButton* btnGou = nullptr;
    QToolButton* btnX = nullptr;
    widgets::TImage* imgDate = nullptr;
    widgets::TImage* imgRedColor = nullptr;
    // The same two commands as buttons, for the notes window: reachable by
    // the keyboard and named for screen readers.
    QToolButton* btnDate = nullptr;
    QToolButton* btnRedColor = nullptr;

    // The week page on tsMain and its buttons.
    std::array<QTextEdit*, notes::kWeekEditors> redt{};
    std::array<QLabel*, notes::kWeekEditors> weekLabels{};
    std::array<QToolButton*, 5> weekButtons{};  // btnA … btnE

    // Items of pmDeskTopMonCal.
    QAction* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N9 = nullptr;
    QAction* N3 = nullptr;
    QAction* N6 = nullptr;
    QAction* V1 = nullptr;
    QAction* X1 = nullptr;
    QAction* N5 = nullptr;
    QAction* CtrlZ1 = nullptr;

    QPointer<QColorDialog> ColorDialog1;  // made on first use
    QPointer<QFileDialog> svdNoteToTxt;

    // Loads and saves, remembering where the editors' contents came from.
    notes::NoteEditing editing{nullptr};
    // Set while a load or save runs: focus changes it causes save nothing.
    bool busy = false;

    TNotesFrm* notesFrm = nullptr;
    bool notesFrmOpened = false;
    // Set once the program is ending: a save that fails then goes to the
    // recovery file instead of a message box nobody may be there to close.
    bool ending = false;

    // The days of the calendar's month that have notes, marked in its cells.
    int markedYear = 0;
    int markedMonth = 0;
    std::vector<int> markedDays;
    // The text last searched for, selected in the note a hit opens.
    QString lastSearch;
    // The note editor last worked in.
    QPointer<QTextEdit> lastEditor;

    // Gone as soon as the parts are, before the window's controls: what
    // reacts to the controls (focus changes while they are destroyed) holds
    // it and stops with it.
    QObject lifetime;
};

// A flat command button of the notes, with what it does as its tooltip and,
// for screen readers, its name (a caption such as "√" or "A" says little on
// its own).
QToolButton* notesCommandButton(QWidget* parent, const char* name, const QString& caption, const QString& does);

// Runs a load or save with the focus-lost saves held off, so that a message
// box it shows cannot start another one.
template <class Action>
bool guarded(NotesParts& n, Action action) {
    if (n.busy) return false;
    n.busy = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{n.busy};
    return action();
}

}  // namespace tavlo::app
