#pragma once
#include <QColor>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <array>

class QLabel;
class QTextEdit;

namespace tavlo::notesui {

// Where the six week editors and their captions go in an area of `size`:
// three columns and two rows of equal cells, each a caption strip above its
// editor, with one-pixel lines around and between the cells. Pixels the
// cells cannot share equally stay outside the grid, at its right and bottom.
struct WeekGridPlaces {
    static constexpr int kCaptionHeight = 25;
    static constexpr int kLine = 1;

    std::array<QRect, 6> captions;
    std::array<QRect, 6> editors;
    QRect frame;  // the grid with its outer lines
};
WeekGridPlaces weekGridPlaces(QSize size);

// The week page of the notes window: holds the six editors and their
// captions in that grid, which follows its size.
class NotesWeekGrid : public QWidget {
    Q_OBJECT
public:
    explicit NotesWeekGrid(QWidget* parent = nullptr);

    void place(const std::array<QLabel*, 6>& captions, const std::array<QTextEdit*, 6>& editors);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

    static inline const QColor kLineColour{0, 0, 0};
    static inline const QColor kCaptionColour{216, 227, 243};

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void layOut();

    std::array<QLabel*, 6> captions_{};
    std::array<QTextEdit*, 6> editors_{};
};

}  // namespace tavlo::notesui
