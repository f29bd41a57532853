#include "uNotesFrm.h"

#include "NotesPanel.h"

#include <QCloseEvent>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace tavlo::notesui {

TNotesFrm::TNotesFrm(QWidget& mainWindow, NotesPanel& panel) : QWidget(&mainWindow, Qt::Window), main_(mainWindow) {
    setObjectName(QStringLiteral("NotesFrm"));
    setWindowTitle(QStringLiteral("日历记事"));
    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->addWidget(&panel);
    resize(kClientSize);
}

void TNotesFrm::open() {
    if (!placed_) placeOverMainWindow();
    show();
    raise();
    activateWindow();
}

void TNotesFrm::placeOverMainWindow() {
    // Left to itself a window manager may put the window partly off the
    // screen; centred on the main window and kept inside the screen's free
    // area, all of it can be reached. Later opens keep where the user left it.
    const QRect available = main_.screen()->availableGeometry();
    QRect place({0, 0}, size().boundedTo(available.size()));
    place.moveCenter(main_.frameGeometry().center());
    place.moveLeft(std::max(available.left(), std::min(place.left(), available.right() + 1 - place.width())));
    place.moveTop(std::max(available.top(), std::min(place.top(), available.bottom() + 1 - place.height())));
    resize(place.size());
    move(place.topLeft());
    placed_ = true;
}

void TNotesFrm::closeEvent(QCloseEvent* event) {
    emit closing();
    event->accept();
}

}  // namespace tavlo::notesui
