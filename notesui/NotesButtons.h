#pragma once
#include <QString>

class QToolButton;
class QWidget;

namespace tavlo::notesui {

// A flat command button of the notes, with what it does as its tooltip and,
// for screen readers, its name (a caption such as "√" or "A" says little on
// its own).
QToolButton* notesCommandButton(QWidget* parent, const char* name, const QString& caption, const QString& does);

}  // namespace tavlo::notesui
