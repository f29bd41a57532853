#pragma once
#include "ModalAnswers.h"
#include "Program.h"
#include "TempFolder.h"
#include "uMain.h"

#include <QPoint>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

// Readable failure messages for Qt's geometry types.
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}
inline void PrintTo(const QPoint& p, std::ostream* os) {
    *os << "QPoint(" << p.x() << ", " << p.y() << ")";
}
inline void PrintTo(const QSize& s, std::ostream* os) {
    *os << "QSize(" << s.width() << " x " << s.height() << ")";
}

namespace tavlo::test {

// Mouse input through the window, as the platform delivers it: the
// application's filters, mouse grabs and context-menu requests all apply.
void mousePress(QWidget* widget, Qt::MouseButton button, QPoint pos = {});
void mouseRelease(QWidget* widget, Qt::MouseButton button, QPoint pos = {});
void mouseMove(QWidget* widget, QPoint pos = {});
void mouseClick(QWidget* widget, Qt::MouseButton button, QPoint pos = {});

// The control named `name` (each control's object name is its design name)
// among the children of `owner`, at any depth; throws when there is none.
template <typename Control = QWidget>
Control* control(const QObject& owner, const char* name) {
    auto* found = owner.findChild<Control*>(QLatin1String(name));
    if (!found) throw std::runtime_error(std::string("no control ") + name);
    return found;
}

// A main window in a fresh program folder, recording what it asks the system
// browser to open and whether it ended the program.
class MainWindowFixture {
public:
    MainWindowFixture();
    // Makes the window; files the test put in the folder are read now.
    app::TMainFrm& create();
    // Shows it and waits until it is exposed.
    app::TMainFrm& show();

    TempFolder folder;
    std::unique_ptr<GlobalState> state;
    std::unique_ptr<app::TMainFrm> window;
    std::vector<QUrl> opened;
    int terminations = 0;
};

}  // namespace tavlo::test
