#include "NotesButtons.h"

#include "Controls.h"

#include <QToolButton>

namespace tavlo::notesui {

QToolButton* notesCommandButton(QWidget* parent, const char* name, const QString& caption, const QString& does) {
    auto* button = widgets::make<QToolButton>(parent, name, {});
    button->setText(caption);
    button->setAutoRaise(true);
    button->setToolTip(does);
    button->setAccessibleName(does);
    return button;
}

}  // namespace tavlo::notesui
