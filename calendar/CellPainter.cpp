#include "CellPainter.h"

#include "CalendarTexts.h"
#include "Command.h"
#include "PaintRoutines.h"

#include <QFontMetrics>
#include <QLoggingCategory>
#include <QPainter>

#include <algorithm>
#include <exception>

Q_LOGGING_CATEGORY(calendarPaintLog, "tavlo.calendar")

namespace tavlo::calendar {
namespace {

constexpr int kSmallPixels = 12;  // 9 pt at 96 dpi

QFont songFont() {
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(kSmallPixels);
    return font;
}

// One line in `box`, cut with an ellipsis when too wide.
void drawLine(QPainter& painter, const QRect& box, int flags, const QString& text) {
    const QString shown = QFontMetrics(painter.font()).elidedText(text, Qt::ElideRight, box.width());
    painter.drawText(box, flags | Qt::TextSingleLine, shown);
}

void paintWeekdayRow(QPainter& painter, int column, int w, int h, const TCellStyle& style, int lastColumn) {
    painter.setFont(style.Font);
    const QRect box(0, 0, w - 2, h);
    if (column == 0) {
        painter.setPen(style.WeekNum);
        if (style.ShowWeekNum) drawLine(painter, box, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("W"));
    } else if (column < lastColumn) {
        painter.setPen(column == 1 || column == 7 ? style.TitleWeekEnd : style.TitleWeek);
        drawLine(painter, box, Qt::AlignHCenter | Qt::AlignTop, WeekdayHeading(column, w - 2));
    }
    painter.setPen(style.TitleWeekLine);
    painter.drawLine(0, h - 4, w, h - 4);
    if (column == 0 && style.ShowWeekNum && style.ShowWeekNumLine) painter.drawLine(w - 1, 0, w - 1, h);
}

void paintWeekNumber(QPainter& painter, const QString& week, int w, int h, const TCellStyle& style) {
    if (!style.ShowWeekNum || week.isEmpty()) return;
    painter.setFont(songFont());
    painter.setPen(style.WeekNum);
    drawLine(painter, QRect(0, 0, w, h), Qt::AlignCenter, week);
    if (style.ShowWeekNumLine) {
        painter.setPen(style.TitleWeekLine);
        painter.drawLine(w - 1, 0, w - 1, h);
    }
}

void paintInformation(QPainter& painter, int index, const TDayCell& cell, int w, int h, const TCellStyle& style) {
    if (cell.DayText.isEmpty()) return;
    painter.setFont(songFont());
    const QRect box(0, 8, w, h - 8);
    static constexpr int kAlign[] = {Qt::AlignHCenter, Qt::AlignRight, Qt::AlignLeft};
    painter.setPen(index == kConstellationCell ? style.TitleConstellation : style.TitleAnimalsYear);
    const QStringList lines = cell.DayText.split(QLatin1Char('\n'));
    const int lineHeight = QFontMetrics(painter.font()).height();
    for (int k = 0; k < lines.size(); ++k) {
        drawLine(painter, box.adjusted(0, k * lineHeight, 0, 0), kAlign[index - kConstellationCell] | Qt::AlignTop,
                 lines[k]);
    }
}

// 休 in red or 班 in grey, small, in the top right corner; drawn before the
// owner-draw hooks, which may paint over it.
void paintHolidayMark(QPainter& painter, holidays::DayKind kind, int w, int h, const TCellStyle& style) {
    if (!style.ShowHolidayMarks || kind == holidays::DayKind::Ordinary) return;
    const QRect box = HolidayMarkBox(w, h);
    // Bold sans strokes stay legible at this size, where thin serif ones fade.
    QFont font(QStringLiteral("黑体"));
    font.setPixelSize(box.height());
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(kind == holidays::DayKind::Off ? style.RestDayMark : style.WorkDayMark);
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine,
                     kind == holidays::DayKind::Off ? texts::restDayMark() : texts::workDayMark());
}

// One line of a day cell through its hook; true when drawn by default.
bool paintDayLine(QPainter& painter, const TCellHook& hook, const TDayCell& cell, QFont font, const QColor& colour,
                  QString text, const QRect& box, int align, bool selected, QSize size) {
    painter.setFont(font);
    painter.setPen(colour);
    bool defaultDraw = true;
    if (hook) hook(cell.Day, painter, QRect(QPoint(0, 0), size), selected, text, defaultDraw);
    if (defaultDraw) drawLine(painter, box, Qt::AlignHCenter | align, text);
    return defaultDraw;
}

void paintDayCell(QPainter& painter, const TDayCell& cell, int w, int h, bool selected, bool highlight,
                  const TCellStyle& style, const TCellHooks& hooks) {
    const QSize size(w, h);
    paintHolidayMark(painter, cell.Arrangement, w, h, style);
    paintDayLine(painter, hooks.DateCell, cell, style.FontDate, cell.DayColor, cell.DayText, QRect(2, 0, w - 4, h / 2),
                 Qt::AlignBottom, selected, size);
    const bool drawn = paintDayLine(painter, hooks.CnDateCell, cell, style.FontCnDate, cell.CnColor, cell.CnText,
                                    QRect(2, h / 2, w - 4, h - h / 2), Qt::AlignTop, selected, size);
    if (drawn && highlight) {
        painter.setPen(style.SelectedFrame);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(0, 0, w - 1, h - 1);
    }
}

void paintCellContent(QPainter& painter, int column, int row, QSize size, TCellState state, const TMonthModel& month,
                      const TCellStyle& style, const TCellHooks& hooks, int lastColumn) {
    const int w = size.width(), h = size.height();
    if (row == 0) return paintWeekdayRow(painter, column, w, h, style, lastColumn);
    if (column == 0) return paintWeekNumber(painter, month.WeekNumbers[row], w, h, style);
    if (column >= lastColumn) return;
    const int index = CellIndex(column, row);
    const bool highlight = state.Selected && (!style.HideSelection || state.Focused);
    if (highlight) FillGradient(painter, QRect(0, 0, w, h), 256, style.SelectedStart, style.SelectedEnd);
    const TDayCell& cell = month.Cells[index];
    if (!cell.Valid) return;
    if (index >= kConstellationCell) return paintInformation(painter, index, cell, w, h, style);
    if (index <= kLastDayCell) paintDayCell(painter, cell, w, h, state.Selected, highlight, style, hooks);
    // Where the keyboard is, whatever the highlight's colours, inside the
    // selection's frame.
    if (state.FocusShown && index <= kLastDayCell) widgets::drawFocusRing(painter, QRect(1, 1, w - 2, h - 2));
}

}  // namespace

QString WeekdayHeading(int column, int textWidth) {
    return texts::weekdayHeading(column, textWidth > 36);
}

QRect HolidayMarkBox(int w, int h) {
    // About 10 pixels in the main window's 27-pixel rows; legible from 9.
    const int side = std::clamp(h * 2 / 5, 9, 14);
    return QRect(w - side - 1, 1, side, side);
}

void PaintCell(QImage& cell, const QImage& back, QPoint gridOrigin, int column, int row, const QRect& rect,
               TCellState state, const TMonthModel& month, const TCellStyle& style, const TCellHooks& hooks) {
    if (cell.size() != rect.size()) cell = QImage(rect.size(), QImage::Format_RGB32);
    cell.fill(Qt::white);  // under a cell pushed past the control's edge
    QPainter painter(&cell);
    painter.drawImage(QPoint(0, 0), back, rect.translated(gridOrigin));
    // A failing hook still leaves the cell with what was drawn so far; the
    // failure goes to the log, as painting has no one to tell.
    try {
        paintCellContent(painter, column, row, rect.size(), state, month, style, hooks, 8);
    } catch (const std::exception& error) {
        qCWarning(calendarPaintLog, "cell (%d, %d) painted in part: %s", column, row, error.what());
    } catch (...) {
        qCWarning(calendarPaintLog, "cell (%d, %d) painted in part: an unknown failure", column, row);
    }
}

}  // namespace tavlo::calendar
