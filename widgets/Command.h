#pragma once
#include <QRect>
#include <QString>

#include <initializer_list>

class QKeyEvent;
class QPainter;
class QWidget;

namespace tavlo::widgets {

// What a clickable picture or label is to keyboard and screen-reader users.
enum class CommandKind {
    Button,     // runs a command
    MenuButton  // opens a menu
};

// Makes a picture (TImage) or label (TLabel) that reacts to clicks a command
// for those who do not use the mouse: a button to assistive technology named
// `name`, with `tip` as its tooltip and description, reached by Tab, run by
// Enter or Space while it has the focus and by a screen reader's press (both
// emit the control's activated()), and marked while the keyboard has put the
// focus on it.
void makeCommand(QWidget* control, const QString& name, const QString& tip, CommandKind kind = CommandKind::Button);

// Tab visits `controls` in this order (Shift+Tab the other way).
void setTabChain(std::initializer_list<QWidget*> controls);

// Tab passes `area` by: a click still puts the focus into it. Also holds for
// the controls made in it later.
void leaveOutOfTabChain(QWidget* area);

// Whether a key press runs the focused command: Enter or Space, held or not.
bool isActivationKey(const QKeyEvent& event);

// Draws the focus mark over a command that the keyboard has put the focus
// on; nothing otherwise (a mouse user sees no marks).
void paintFocusMark(QWidget& control, QPainter& painter);

// The focus ring inside `box`: a black line between two white ones, so that
// it stands out at least 3:1 against any colour beneath it.
void drawFocusRing(QPainter& painter, const QRect& box);

// Gives the program's pictures and labels their faces to assistive
// technology (a command's role, the pictures' role). Called by their
// constructors; only the first call counts.
void installControlAccessibility();

}  // namespace tavlo::widgets
