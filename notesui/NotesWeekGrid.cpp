#include "NotesWeekGrid.h"

#include <QLabel>
#include <QPainter>
#include <QTextEdit>

namespace tavlo::notesui {

namespace {
constexpr int kColumns = 3;
constexpr int kRows = 2;
constexpr int kMinimumCellWidth = 110;
constexpr int kMinimumEditorHeight = 60;
}  // namespace

WeekGridPlaces weekGridPlaces(QSize size) {
    constexpr int line = WeekGridPlaces::kLine;
    const int cellWidth = std::max(0, (size.width() - (kColumns + 1) * line) / kColumns);
    const int cellHeight = std::max(0, (size.height() - (kRows + 1) * line) / kRows);
    const int captionHeight = std::min(WeekGridPlaces::kCaptionHeight, cellHeight);
    WeekGridPlaces places;
    for (int i = 0; i < 6; ++i) {
        const int left = line + (i % kColumns) * (cellWidth + line);
        const int top = line + (i / kColumns) * (cellHeight + line);
        places.captions[i] = QRect(left, top, cellWidth, captionHeight);
        places.editors[i] = QRect(left, top + captionHeight, cellWidth, cellHeight - captionHeight);
    }
    places.frame = QRect(0, 0, kColumns * (cellWidth + line) + line, kRows * (cellHeight + line) + line);
    return places;
}

NotesWeekGrid::NotesWeekGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("NotesWeekGrid"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void NotesWeekGrid::place(const std::array<QLabel*, 6>& captions, const std::array<QTextEdit*, 6>& editors) {
    captions_ = captions;
    editors_ = editors;
    layOut();
}

QSize NotesWeekGrid::minimumSizeHint() const {
    return {kColumns * (kMinimumCellWidth + 1) + 1,
            kRows * (WeekGridPlaces::kCaptionHeight + kMinimumEditorHeight + 1) + 1};
}

QSize NotesWeekGrid::sizeHint() const {
    return {3 * 165 + 4, 2 * 185 + 3};
}

void NotesWeekGrid::resizeEvent(QResizeEvent*) {
    layOut();
}

void NotesWeekGrid::layOut() {
    const WeekGridPlaces places = weekGridPlaces(size());
    for (int i = 0; i < 6; ++i) {
        if (captions_[i]) captions_[i]->setGeometry(places.captions[i]);
        if (editors_[i]) editors_[i]->setGeometry(places.editors[i]);
    }
    update();
}

void NotesWeekGrid::paintEvent(QPaintEvent*) {
    // The lines are what the cells leave uncovered inside the frame.
    QPainter painter(this);
    painter.fillRect(weekGridPlaces(size()).frame, kLineColour);
}

}  // namespace tavlo::notesui
