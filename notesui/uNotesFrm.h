#pragma once
#include <QSize>
#include <QWidget>

namespace tavlo::notesui {

class NotesPanel;

// The "日历记事" window: it shows the notes panel, whole, over the main
// window, and grows with it. It says when it is being closed, so that the
// editors can be saved as when they are left.
class TNotesFrm : public QWidget {
    Q_OBJECT
public:
    TNotesFrm(QWidget& mainWindow, NotesPanel& panel);

    // Shows the window in front (over the main window the first time).
    void open();

    static constexpr QSize kClientSize{980, 600};

signals:
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void placeOverMainWindow();

    QWidget& main_;
    bool placed_ = false;
};

}  // namespace tavlo::notesui
