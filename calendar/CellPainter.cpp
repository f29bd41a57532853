#include "CellPainter.h"

#include "CalendarTexts.h"
#include "Command.h"
#include "PaintRoutines.h"

#include <QFontMetrics>
#include <QLoggingCategory>
#include <QPainter>

#include <algorithm>
#include <cmath>
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

// 休 in red or 班 in dark grey, small, in the top left corner; drawn before
// the owner-draw hooks, which may paint over it. On the selection's
// highlight it takes the colour that reads there.
void paintHolidayMark(QPainter& painter, holidays::DayKind kind, int w, int h, const TCellStyle& style,
                      const QColor* onHighlight) {
    if (!style.ShowHolidayMarks || kind == holidays::DayKind::Ordinary) return;
    const QRect box = HolidayMarkBox(w, h);
    // Bold sans strokes stay legible at this size, where thin serif ones fade.
    QFont font(QStringLiteral("黑体"));
    font.setPixelSize(box.height());
    font.setBold(true);
    painter.setFont(font);
    const QColor colour = kind == holidays::DayKind::Off ? style.RestDayMark : style.WorkDayMark;
    painter.setPen(onHighlight ? *onHighlight : colour);
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine,
                     kind == holidays::DayKind::Off ? texts::restDayMark() : texts::workDayMark());
}

// One line of a day cell through its hook; true when drawn by default.
bool paintDayLine(QPainter& painter, const TCellHook& hook, const TDayCell& cell, QFont font, const QColor& colour,
                  QString text, const QRect& box, bool selected, QSize size) {
    painter.setFont(font);
    painter.setPen(colour);
    bool defaultDraw = true;
    if (hook) hook(cell.Day, painter, QRect(QPoint(0, 0), size), selected, text, defaultDraw);
    if (defaultDraw) drawLine(painter, box, Qt::AlignHCenter | Qt::AlignTop, text);
    return defaultDraw;
}

// Today's number stands on a dark red badge, wherever the selection is.
constexpr QRgb kTodayBadge = qRgb(0xC0, 0x00, 0x00);

void paintTodayBadge(QPainter& painter, const QFont& font, const QString& number, const QRect& box) {
    const QFontMetrics metrics(font);
    const QRect ink = metrics.tightBoundingRect(QStringLiteral("0123456789"));
    const int width = metrics.horizontalAdvance(number) + 8;
    const int baseline = box.top() + metrics.ascent();
    const QRect badge(box.center().x() - width / 2 + 1, baseline + ink.top() - 2, width, -ink.top() + 4);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(kTodayBadge));
    painter.drawRoundedRect(badge, 3, 3);
    painter.restore();
}

void paintDayCell(QPainter& painter, const TDayCell& cell, int w, int h, bool selected, bool highlight,
                  const TCellStyle& style, const TCellHooks& hooks) {
    const QSize size(w, h);
    const DayLineBoxes lines = DayLines(style.FontDate, style.FontCnDate, w, h);
    // On the highlight every text takes the colour that reads there.
    const QColor readable = ReadableOn(style.SelectedStart, style.SelectedEnd);
    const QColor* onHighlight = highlight ? &readable : nullptr;
    paintHolidayMark(painter, cell.Arrangement, w, h, style, onHighlight);
    const bool today = cell.Day == style.TodayDay;
    if (today) paintTodayBadge(painter, style.FontDate, cell.DayText, lines.day);
    const QColor dayColour = today ? QColor(Qt::white) : onHighlight ? readable : cell.DayColor;
    paintDayLine(painter, hooks.DateCell, cell, style.FontDate, dayColour, cell.DayText, lines.day, selected, size);
    const bool drawn = paintDayLine(painter, hooks.CnDateCell, cell, style.FontCnDate,
                                    onHighlight ? readable : cell.CnColor, cell.CnText, lines.lunar, selected, size);
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
    const int side = std::clamp(h * 2 / 5, 9, std::min(14, w / 4));
    return QRect(2, 2, side, side);
}

DayLineBoxes DayLines(const QFont& dayFont, const QFont& lunarFont, int w, int h) {
    const QFontMetrics day(dayFont), lunar(lunarFont);
    // The ink, not the fonts' line heights: a CJK font's leading alone would
    // fill the row.
    const int dayInk = -day.tightBoundingRect(QStringLiteral("0123456789")).top();
    const QRect han = lunar.tightBoundingRect(QStringLiteral("廿九腊月初一节"));
    const int spare = h - dayInk - han.height();
    const int margin = std::max(0, spare / 3);
    const int dayBaseline = margin + dayInk;
    const int lunarBaseline = dayBaseline + margin - han.top();
    return {QRect(2, dayBaseline - day.ascent(), w - 4, day.height()),
            QRect(2, lunarBaseline - lunar.ascent(), w - 4, lunar.height())};
}

QColor ReadableOn(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double lighter = std::max(luminance(a), luminance(b));
    const double darker = std::min(luminance(a), luminance(b));
    // Each against the end where it reads worst.
    const double onBlack = (darker + 0.05) / 0.05;
    const double onWhite = 1.05 / (lighter + 0.05);
    return onBlack >= onWhite ? QColor(Qt::black) : QColor(Qt::white);
}

void PaintCell(QImage& cell, const QImage& back, QPoint gridOrigin, int column, int row, const QRect& rect,
               TCellState state, const TMonthModel& month, const TCellStyle& style, const TCellHooks& hooks) {
    // At the background's device pixels, so that the cell is as sharp as the screen.
    const qreal ratio = back.isNull() ? 1 : back.devicePixelRatio();
    const QSize pixels = (QSizeF(rect.size()) * ratio).toSize();
    if (cell.size() != pixels) cell = QImage(pixels, QImage::Format_RGB32);
    cell.setDevicePixelRatio(ratio);
    cell.fill(Qt::white);  // under a cell pushed past the control's edge
    QPainter painter(&cell);
    const QRectF source(QRectF(rect.translated(gridOrigin)).topLeft() * ratio, QSizeF(rect.size()) * ratio);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(rect.size())), back, source);
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
