#include "WindowTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace tavlo::test {

namespace {
QPoint windowPoint(QWidget* widget, QPoint pos) {
    if (pos.isNull()) pos = widget->rect().center();
    return widget->mapTo(widget->window(), pos);
}
QWindow* handle(QWidget* widget) {
    return widget->window()->windowHandle();
}
}  // namespace

void mousePress(QWidget* widget, Qt::MouseButton button, QPoint pos) {
    QTest::mousePress(handle(widget), button, {}, windowPoint(widget, pos));
}

void mouseRelease(QWidget* widget, Qt::MouseButton button, QPoint pos) {
    QTest::mouseRelease(handle(widget), button, {}, windowPoint(widget, pos));
}

void mouseMove(QWidget* widget, QPoint pos) {
    QTest::mouseMove(handle(widget), windowPoint(widget, pos));
}

void mouseClick(QWidget* widget, Qt::MouseButton button, QPoint pos) {
    mousePress(widget, button, pos);
    mouseRelease(widget, button, pos);
}

MainWindowFixture::MainWindowFixture() : state(std::make_unique<GlobalState>(ProgramFolder(folder.path()))) {}

app::TMainFrm& MainWindowFixture::create() {
    window = std::make_unique<app::TMainFrm>(*state);
    window->setShellOpen([this](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    window->setTerminate([this] { ++terminations; });
    return *window;
}

app::TMainFrm& MainWindowFixture::show() {
    if (!window) create();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) throw std::runtime_error("the main window was not exposed");
    // Qt drops a move to where the pointer already is; start each window
    // with the pointer on its background, away from every control.
    QWidget* background = control(*window, "imgBG");
    mouseMove(background, {310, 300});
    mouseMove(background, {311, 300});
    return *window;
}

}  // namespace tavlo::test
