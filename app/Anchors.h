#pragma once
#include <QRect>
#include <QSize>
#include <QWidget>

#include <vector>

namespace tavlo::app {

// Keeps controls at fixed distances from the edges they are anchored to, as
// the window was designed at one client size and may be resized to any other.
class Anchors {
public:
    enum Edge { Left = 1, Top = 2, Right = 4, Bottom = 8 };

    explicit Anchors(QSize designClientSize) : design_(designClientSize) {}

    // `widget` currently sits at its design place.
    void anchor(QWidget* widget, int edges);

    // Places every anchored control for this client size.
    void apply(QSize clientSize) const;

private:
    struct Entry {
        QWidget* widget;
        int edges;
        QRect designRect;
    };
    QSize design_;
    std::vector<Entry> entries_;
};

}  // namespace tavlo::app
