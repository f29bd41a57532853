#pragma once
// TChnCalendar: a month calendar that shows each Gregorian day with its
// Chinese lunar text, festival or solar term, over a composed background.
#include "BackgroundComposer.h"
#include "CellPainter.h"
#include "ChnCal.h"
#include "HolidayTable.h"
#include "MonthModel.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QPainter;

namespace tavlo {

namespace calendar {
class TDayGrid;
class TSpinButton;
}  // namespace calendar

class TChnCalendar;

// Owner-draw hook for one line of a day cell: `aCanvas` paints into the cell
// bitmap, `R` is the whole cell in its coordinates. The hook may replace
// `Text`, or draw itself and clear `defaultDraw`.
using TDrawDateCellEvent = std::function<void(TChnCalendar* Sender, int Day, QPainter& aCanvas, const QRect& R,
                                              bool Selected, QString& Text, bool& defaultDraw)>;

class TChnCalendar : public QWidget {
    Q_OBJECT
public:
    // The official rest days and make-up workdays come from `holidays`; by
    // default the program's table (built in, plus Data\Holidays.txt).
    explicit TChnCalendar(QWidget* parent = nullptr, std::shared_ptr<const holidays::HolidayTable> holidays = {});
    ~TChnCalendar() override;

    // Days since 1899-12-30 with the time of day as fraction. A value outside
    // the years 1..2100, or equal to the stored one, is ignored.
    double DateTime() const { return dateTime_; }
    void setDateTime(double value);
    void GoToday();

    // "Now" as a date-time value; tests and hosts may pin it.
    using Clock = std::function<double()>;
    void setClock(Clock clock);

    // Written by each rebuild; writing them from outside only stores the text.
    QString CnDate() const { return cnDate_; }
    void setCnDate(const QString& value) { cnDate_ = value; }
    QString CnMonth() const { return cnMonth_; }
    void setCnMonth(const QString& value) { cnMonth_ = value; }
    QString CnDay() const { return cnDay_; }
    void setCnDay(const QString& value) { cnDay_ = value; }

    bool ShowTitle() const { return showTitle_; }
    void setShowTitle(bool value);
    bool ShowWeekNum() const { return cells_.ShowWeekNum; }
    void setShowWeekNum(bool value);
    bool ShowWeekNumLine() const { return cells_.ShowWeekNumLine; }
    void setShowWeekNumLine(bool value);
    bool ShowFrame() const { return back_.ShowFrame; }
    void setShowFrame(bool value);
    bool ShowBackYearMonth() const { return back_.ShowBackYearMonth; }
    void setShowBackYearMonth(bool value);
    bool HideSelection() const { return cells_.HideSelection; }
    void setHideSelection(bool value) { cells_.HideSelection = value; }

    // 休 on official days off and 班 on make-up workdays, in a top corner of
    // the day cells (on by default); a year without data shows none.
    bool ShowHolidayMarks() const { return cells_.ShowHolidayMarks; }
    void setShowHolidayMarks(bool value);
    const holidays::HolidayTable& Holidays() const { return *holidays_; }
    void setHolidays(std::shared_ptr<const holidays::HolidayTable> value);

    QFont FontDate() const { return cells_.FontDate; }
    void setFontDate(const QFont& value);
    QFont FontCnDate() const { return cells_.FontCnDate; }
    void setFontCnDate(const QFont& value);

    // Colours that the rebuild writes into the cells.
    QColor ColorDate() const { return colours_.Date; }
    void setColorDate(const QColor& value);
    QColor ColorCnDate() const { return colours_.CnDate; }
    void setColorCnDate(const QColor& value);
    QColor ColorHoliday() const { return colours_.Holiday; }
    void setColorHoliday(const QColor& value);
    QColor ColorLunarHolDay() const { return colours_.LunarHolDay; }
    void setColorLunarHolDay(const QColor& value);
    QColor ColorCnHolDay() const { return colours_.CnHolDay; }
    void setColorCnHolDay(const QColor& value);

    // Colours of the grid's own drawing.
    QColor ColorTitleWeekLine() const { return cells_.TitleWeekLine; }
    void setColorTitleWeekLine(const QColor& value);
    QColor ColorTitleWeekEnd() const { return cells_.TitleWeekEnd; }
    void setColorTitleWeekEnd(const QColor& value);
    QColor ColorTitleWeek() const { return cells_.TitleWeek; }
    void setColorTitleWeek(const QColor& value);
    QColor ColorSelectedStart() const { return cells_.SelectedStart; }
    void setColorSelectedStart(const QColor& value);
    QColor ColorSelectedEnd() const { return cells_.SelectedEnd; }
    void setColorSelectedEnd(const QColor& value);
    QColor ColorSelectedFrame() const { return cells_.SelectedFrame; }
    void setColorSelectedFrame(const QColor& value);
    QColor ColorWeekNum() const { return cells_.WeekNum; }
    void setColorWeekNum(const QColor& value);
    QColor ColorTitleConstellation() const { return cells_.TitleConstellation; }
    void setColorTitleConstellation(const QColor& value) { cells_.TitleConstellation = value; }
    QColor ColorTitleAnimalsYear() const { return cells_.TitleAnimalsYear; }
    void setColorTitleAnimalsYear(const QColor& value) { cells_.TitleAnimalsYear = value; }

    // Colours of the composed background.
    QColor ColorShowFrame() const { return back_.ColorShowFrame; }
    void setColorShowFrame(const QColor& value);
    QColor ColorBackYear() const { return back_.ColorBackYear; }
    void setColorBackYear(const QColor& value);
    QColor ColorBackMonth() const { return back_.ColorBackMonth; }
    void setColorBackMonth(const QColor& value);

    // Colours kept only as the font colour of their title label.
    QColor ColorTitleToday() const;
    void setColorTitleToday(const QColor& value);
    QColor ColorTitleMonth() const;
    void setColorTitleMonth(const QColor& value);
    QColor ColorTitleYear() const;
    void setColorTitleYear(const QColor& value);
    QColor ColorTitleSelected() const;
    void setColorTitleSelected(const QColor& value);

    // The background picture, blended in at AlphaBlend mod 100 percent.
    QImage BackGround() const { return back_.Picture; }
    void setBackGround(const QImage& value);
    bool Center() const { return back_.Center; }
    void setCenter(bool value);
    bool Stretch() const { return back_.Stretch; }
    void setStretch(bool value);
    bool Transparent() const { return transparent_; }
    void setTransparent(bool value);
    std::uint8_t AlphaBlend() const { return back_.AlphaBlend; }
    void setAlphaBlend(std::uint8_t value);

    // The host's words for a day that a screen reader adds to the day's
    // name (such as whether it has a note); none when null or empty.
    using DayDescription = std::function<QString(int year, int month, int day)>;
    void setDayDescription(DayDescription describe) { dayDescription_ = std::move(describe); }

    void setOnDrawDateCell(TDrawDateCellEvent handler) { onDrawDateCell_ = std::move(handler); }
    void setOnDrawCnDateCell(TDrawDateCellEvent handler) { onDrawCnDateCell_ = std::move(handler); }

    // What the last rebuild prepared: the 42 cells and the week numbers.
    const calendar::TMonthModel& Month() const { return month_; }
    const QImage& BackBitmap() const { return backBitmap_; }
    const QImage& PictureBitmap() const { return pictureBitmap_; }

signals:
    // After each completed rebuild.
    void OnChange(tavlo::TChnCalendar* Sender);
    // The grid's click lands on its current cell.
    void OnDateSelect(tavlo::TChnCalendar* Sender);
    // A day was chosen in the grid after an earlier press in it.
    void OnDateClick(tavlo::TChnCalendar* Sender);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createParts();
    void connectTitleLabels();
    void connectPageKeys();
    void ApplyDateTime(double value);
    void RebuildMonth();
    void ApplyShowTitle(bool value);
    void LayoutGrid();
    void ComposeBackground();
    void ApplyMonthSpin();
    void ApplyYearSpin();
    void MonthMenuClick(int tag);
    void YearMenuClick(int tag);
    bool GridSelectCell(int column, int row);
    void GridMouseDown();
    void GridClick();
    void syncSpinsToDate();
    void recolourCells();
    void recomposeAndRepaint();
    void placeMonthLabel();
    const QImage& GridDrawCell(int column, int row, QRect rect, const calendar::TCellState& state);
    QString GridCellName(int column, int row) const;
    double now() const;

    double dateTime_ = 0;
    QString cnDate_, cnMonth_, cnDay_;
    bool showTitle_ = false;
    calendar::TCellColours colours_;
    calendar::TBackgroundStyle back_;  // what the composition draws
    calendar::TCellStyle cells_;       // what the cells are drawn with
    bool transparent_ = false;
    TDrawDateCellEvent onDrawDateCell_;
    TDrawDateCellEvent onDrawCnDateCell_;
    DayDescription dayDescription_;
    Clock clock_;
    std::shared_ptr<const holidays::HolidayTable> holidays_;

    calendar::TMonthModel month_;
    lunar::TChnCal CalEngine;
    QImage backBitmap_;
    QImage pictureBitmap_;
    QImage cellBitmap_;
    bool MouseDownInGrid = false;
    bool SyncingSelection = false;
    bool constructed_ = false;

    calendar::TDayGrid* DayGrid = nullptr;
    QLabel* TodayLabel = nullptr;
    QLabel* MonthLabel = nullptr;
    QLabel* MonthUnitLabel = nullptr;
    QLabel* YearLabel = nullptr;
    QLabel* YearUnitLabel = nullptr;
    QLabel* StatusLabel = nullptr;
    calendar::TSpinButton* MonthSpin = nullptr;
    calendar::TSpinButton* YearSpin = nullptr;
    QMenu* MonthMenu = nullptr;
    QMenu* YearMenu = nullptr;
};

}  // namespace tavlo
