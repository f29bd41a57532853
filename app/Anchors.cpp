#include "Anchors.h"

namespace tavlo::app {

void Anchors::anchor(QWidget* widget, int edges) {
    entries_.push_back({widget, edges, widget->geometry()});
}

namespace {
// One axis: the control's start and length for the parent's new length.
std::pair<int, int> place(int start, int length, int designParent, int parent, bool nearEdge, bool farEdge) {
    const int farMargin = designParent - (start + length);
    if (nearEdge && farEdge) return {start, parent - farMargin - start};
    if (farEdge) return {parent - farMargin - length, length};
    return {start, length};
}
}  // namespace

void Anchors::apply(QSize clientSize) const {
    for (const Entry& e : entries_) {
        const auto [x, w] = place(e.designRect.x(), e.designRect.width(), design_.width(), clientSize.width(),
                                  e.edges & Left, e.edges & Right);
        const auto [y, h] = place(e.designRect.y(), e.designRect.height(), design_.height(), clientSize.height(),
                                  e.edges & Top, e.edges & Bottom);
        e.widget->setGeometry(x, y, w, h);
    }
}

}  // namespace tavlo::app
