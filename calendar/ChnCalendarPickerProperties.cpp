// The property setters of TChnCalendar: each stores its value and redoes
// only what depends on it.
#include "ChnCalendarPicker.h"

#include "DayGrid.h"

#include <QLabel>

namespace tavlo {
namespace {

void setLabelColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QColor labelColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

}  // namespace

void TChnCalendar::recomposeAndRepaint() {
    ComposeBackground();
    update();
}

void TChnCalendar::recolourCells() {
    RebuildMonth();
}

void TChnCalendar::setShowTitle(bool value) {
    ApplyShowTitle(value);
}

void TChnCalendar::setShowWeekNum(bool value) {
    if (value == cells_.ShowWeekNum) return;
    cells_.ShowWeekNum = value;
    // Only column 0 changes; the others keep their widths until the next layout.
    DayGrid->setColumnWidth(0, value ? 18 : 6);
    DayGrid->update();
}

void TChnCalendar::setShowWeekNumLine(bool value) {
    cells_.ShowWeekNumLine = value;
    DayGrid->update();
}

void TChnCalendar::setShowHolidayMarks(bool value) {
    cells_.ShowHolidayMarks = value;
    DayGrid->update();
}

void TChnCalendar::setHolidays(std::shared_ptr<const holidays::HolidayTable> value) {
    if (!value) return;
    holidays_ = std::move(value);
    RebuildMonth();
}

void TChnCalendar::setShowFrame(bool value) {
    back_.ShowFrame = value;
    recomposeAndRepaint();
}

void TChnCalendar::setShowBackYearMonth(bool value) {
    back_.ShowBackYearMonth = value;
    recomposeAndRepaint();
}

void TChnCalendar::setFontDate(const QFont& value) {
    cells_.FontDate = value;
    DayGrid->update();
}

void TChnCalendar::setFontCnDate(const QFont& value) {
    cells_.FontCnDate = value;
    DayGrid->update();
}

void TChnCalendar::setColorDate(const QColor& value) {
    colours_.Date = value;
    recolourCells();
}

void TChnCalendar::setColorCnDate(const QColor& value) {
    colours_.CnDate = value;
    recolourCells();
}

void TChnCalendar::setColorHoliday(const QColor& value) {
    colours_.Holiday = value;
    recolourCells();
}

void TChnCalendar::setColorLunarHolDay(const QColor& value) {
    colours_.LunarHolDay = value;
    recolourCells();
}

void TChnCalendar::setColorCnHolDay(const QColor& value) {
    colours_.CnHolDay = value;
    recolourCells();
}

void TChnCalendar::setColorTitleWeekLine(const QColor& value) {
    cells_.TitleWeekLine = value;
    DayGrid->update();
}

void TChnCalendar::setColorTitleWeekEnd(const QColor& value) {
    cells_.TitleWeekEnd = value;
    DayGrid->update();
}

void TChnCalendar::setColorTitleWeek(const QColor& value) {
    cells_.TitleWeek = value;
    DayGrid->update();
}

void TChnCalendar::setColorSelectedStart(const QColor& value) {
    cells_.SelectedStart = value;
    DayGrid->update();
}

void TChnCalendar::setColorSelectedEnd(const QColor& value) {
    cells_.SelectedEnd = value;
    DayGrid->update();
}

void TChnCalendar::setColorSelectedFrame(const QColor& value) {
    cells_.SelectedFrame = value;
    DayGrid->update();
}

void TChnCalendar::setColorWeekNum(const QColor& value) {
    cells_.WeekNum = value;
    if (cells_.ShowWeekNum) DayGrid->update();
}

void TChnCalendar::setColorShowFrame(const QColor& value) {
    back_.ColorShowFrame = value;
    if (back_.ShowFrame) recomposeAndRepaint();
}

void TChnCalendar::setColorBackYear(const QColor& value) {
    back_.ColorBackYear = value;
    recomposeAndRepaint();
}

void TChnCalendar::setColorBackMonth(const QColor& value) {
    back_.ColorBackMonth = value;
    recomposeAndRepaint();
}

QColor TChnCalendar::ColorTitleToday() const {
    return labelColour(TodayLabel);
}
void TChnCalendar::setColorTitleToday(const QColor& value) {
    setLabelColour(TodayLabel, value);
}
QColor TChnCalendar::ColorTitleMonth() const {
    return labelColour(MonthLabel);
}
void TChnCalendar::setColorTitleMonth(const QColor& value) {
    setLabelColour(MonthLabel, value);
}
QColor TChnCalendar::ColorTitleYear() const {
    return labelColour(YearLabel);
}
void TChnCalendar::setColorTitleYear(const QColor& value) {
    setLabelColour(YearLabel, value);
}
QColor TChnCalendar::ColorTitleSelected() const {
    return labelColour(StatusLabel);
}
void TChnCalendar::setColorTitleSelected(const QColor& value) {
    setLabelColour(StatusLabel, value);
}

void TChnCalendar::setBackGround(const QImage& value) {
    back_.Picture = value.copy();
    recomposeAndRepaint();
}

void TChnCalendar::setCenter(bool value) {
    back_.Center = value;
    recomposeAndRepaint();
}

void TChnCalendar::setStretch(bool value) {
    back_.Stretch = value;
    recomposeAndRepaint();
}

void TChnCalendar::setTransparent(bool value) {
    transparent_ = value;
    recomposeAndRepaint();
}

void TChnCalendar::setAlphaBlend(std::uint8_t value) {
    back_.AlphaBlend = value;
    recomposeAndRepaint();
}

}  // namespace tavlo
