#include "ChnCalendarPicker.h"

#include "CalendarDates.h"
#include "CalendarMenus.h"
#include "CalendarTexts.h"
#include "Controls.h"
#include "DateTimeValue.h"
#include "DayGrid.h"
#include "ProgramHolidays.h"
#include "SpinButton.h"

#include <QDateTime>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace tavlo {

using calendar::bgr;
using widgets::pixelFont;

namespace {

constexpr int kSmallPixels = 12;  // 9 pt at 96 dpi
constexpr int kFirstYear = 1;
constexpr int kLastYear = 2100;

QFont songFont(bool underline = false) {
    QFont font = pixelFont(QStringLiteral("宋体"), kSmallPixels);
    font.setUnderline(underline);
    return font;
}

}  // namespace

TChnCalendar::TChnCalendar(QWidget* parent, std::shared_ptr<const holidays::HolidayTable> holidays)
    : QWidget(parent), holidays_(holidays ? std::move(holidays) : holidays::programHolidays()) {
    setFont(songFont());
    cells_.FontDate = pixelFont(QStringLiteral("黑体"), kSmallPixels, true);
    cells_.FontCnDate = songFont();
    createParts();
    resize(313, 253);
    // What creating the window does: the first columns, today, the title.
    DayGrid->setColumnWidth(0, cells_.ShowWeekNum ? 18 : 6);
    DayGrid->setRowHeight(0, 18);
    LayoutGrid();
    ApplyDateTime(now());
    ApplyShowTitle(true);
    constructed_ = true;
}

TChnCalendar::~TChnCalendar() = default;

void TChnCalendar::createParts() {
    using widgets::make;
    DayGrid = make<calendar::TDayGrid>(this, "DayGrid", QRect(), 9, 7);
    DayGrid->SelectCell = [this](int column, int row) { return GridSelectCell(column, row); };
    DayGrid->DrawCell = [this](int column, int row, QRect rect, calendar::TCellState state) -> const QImage& {
        return GridDrawCell(column, row, rect, state);
    };
    DayGrid->CellName = [this](int column, int row) { return GridCellName(column, row); };
    DayGrid->setAccessibleName(calendar::texts::gridName());
    connect(DayGrid, &calendar::TDayGrid::mouseDown, this, [this] { GridMouseDown(); });
    connect(DayGrid, &calendar::TDayGrid::clicked, this, [this] { GridClick(); });

    auto label = [this](const char* name, QPoint place, const QFont& font, const QColor& colour, const QString& text) {
        auto* created = widgets::make<widgets::TLabel>(this, name, QRect());
        created->setFont(font);
        QPalette palette = created->palette();
        palette.setColor(QPalette::WindowText, colour);
        created->setPalette(palette);
        created->setText(text);
        created->move(place);
        created->adjustSize();
        created->installEventFilter(this);
        return created;
    };
    QFont yearFont = pixelFont(QStringLiteral("Arial Black"), 29);   // 22 pt
    QFont monthFont = pixelFont(QStringLiteral("Arial"), 32, true);  // 24 pt
    YearLabel = label("YearLabel", {120, 0}, yearFont, bgr(0xFF0000), QString());
    YearUnitLabel = label("YearUnitLabel", {205, 18}, songFont(), bgr(0), calendar::texts::yearUnit());
    MonthLabel = label("MonthLabel", {34, 3}, monthFont, bgr(0xC08080), QString());
    MonthUnitLabel = label("MonthUnitLabel", {45, 20}, songFont(), bgr(0), calendar::texts::monthUnit());
    TodayLabel = label("TodayLabel", {272, 18}, songFont(true), bgr(0xFF0000), calendar::texts::todayMark());
    StatusLabel = label("StatusLabel", {10, 236}, songFont(), bgr(0x808080), QString());

    MonthSpin = make<calendar::TSpinButton>(this, "MonthSpin", QRect(), 0, 13);
    MonthSpin->move(60, 10);
    YearSpin = make<calendar::TSpinButton>(this, "YearSpin", QRect(), kFirstYear, kLastYear);
    YearSpin->move(220, 10);
    MonthSpin->installEventFilter(this);
    YearSpin->installEventFilter(this);
    DayGrid->installEventFilter(this);
    connect(MonthSpin, &calendar::TSpinButton::stepped, this, [this] { ApplyMonthSpin(); });
    connect(YearSpin, &calendar::TSpinButton::stepped, this, [this] { ApplyYearSpin(); });

    MonthMenu = calendar::BuildMonthMenu(
        this, [this] { GoToday(); }, [this](int tag) { MonthMenuClick(tag); });
    YearMenu = calendar::BuildYearMenu(
        this, [this] { GoToday(); }, [this](int tag) { YearMenuClick(tag); });
    connectTitleLabels();
}

void TChnCalendar::setClock(Clock clock) {
    clock_ = std::move(clock);
}

double TChnCalendar::now() const {
    return clock_ ? clock_() : calendar::dateTimeValue(QDateTime::currentDateTime());
}

void TChnCalendar::setDateTime(double value) {
    ApplyDateTime(value);
}

void TChnCalendar::GoToday() {
    ApplyDateTime(now());
}

void TChnCalendar::ApplyDateTime(double value) {
    if (value == dateTime_) return;
    // Years outside the spin's range, and values no date can hold, are ignored.
    if (!std::isfinite(value) || std::abs(value) > 1e7) return;
    const lunar::CivilDate date = lunar::DecodeDate(value);
    if (date.Year < kFirstYear || date.Year > kLastYear) return;
    dateTime_ = value;
    RebuildMonth();
}

void TChnCalendar::RebuildMonth() {
    const lunar::CivilDate date = lunar::DecodeDate(dateTime_);
    YearSpin->setPosition(date.Year);
    MonthSpin->setPosition(date.Month);
    month_.Rebuild(CalEngine, dateTime_, colours_, holidays_.get());
    cnMonth_ = month_.CnMonth;
    cnDay_ = month_.CnDay;
    cnDate_ = month_.CnDate;
    YearLabel->setText(QString::number(date.Year));
    YearLabel->adjustSize();
    MonthLabel->setText(QString::number(date.Month));
    placeMonthLabel();
    StatusLabel->setText(month_.StatusText);
    StatusLabel->adjustSize();

    const QPoint cell = calendar::CellPosition(month_.SelectedCell);
    SyncingSelection = true;
    try {
        DayGrid->setRow(cell.y());
        DayGrid->setColumn(cell.x());
    } catch (...) {
        SyncingSelection = false;
        throw;
    }
    SyncingSelection = false;

    ComposeBackground();
    DayGrid->update();
    emit OnChange(this);
}

// The month number ends where an empty caption would end, so one and two
// digits both stop just left of "月".
void TChnCalendar::placeMonthLabel() {
    MonthLabel->adjustSize();
    const int right = 34 + QFontMetrics(MonthLabel->font()).horizontalAdvance(QLatin1Char(' '));
    MonthLabel->move(right - MonthLabel->width(), 3);
}

void TChnCalendar::ApplyShowTitle(bool value) {
    showTitle_ = value;
    MonthSpin->setVisible(value);
    YearSpin->setVisible(value);
    const int w = width(), h = height();
    DayGrid->setGeometry(value ? QRect(8, 40, std::max(0, w - 15), std::max(0, h - 67))
                               : QRect(2, 2, std::max(0, w - 4), std::max(0, h - 4)));
    DayGrid->setPopupMenu(value ? nullptr : YearMenu);
    LayoutGrid();
    ComposeBackground();
    DayGrid->update();
}

void TChnCalendar::LayoutGrid() {
    const int columns = std::max(0, (DayGrid->width() - DayGrid->columnWidth(0)) / 7);
    for (int column = 1; column <= 7; ++column) DayGrid->setColumnWidth(column, std::max(0, columns - 1));
    DayGrid->setColumnWidth(8, std::max(0, DayGrid->width() - (DayGrid->columnWidth(0) + 7 * (columns - 1))));
    const int rows = std::max(0, (DayGrid->height() - 18) / 6);
    for (int row = 1; row <= 5; ++row) DayGrid->setRowHeight(row, std::max(0, rows - 1));
    DayGrid->setRowHeight(6, std::max(0, DayGrid->height() - (18 + 5 * (rows - 1))));
}

void TChnCalendar::ComposeBackground() {
    back_.Font = font();
    const lunar::CivilDate date = lunar::DecodeDate(dateTime_);
    calendar::ComposeBackground(backBitmap_, pictureBitmap_, size(), DayGrid->geometry(), date.Year, date.Month, back_,
                                devicePixelRatioF());
}

const QImage& TChnCalendar::GridDrawCell(int column, int row, QRect rect, const calendar::TCellState& state) {
    cells_.Font = font();
    const lunar::CivilDate today = lunar::DecodeDate(now());
    cells_.TodayDay = today.Year == month_.Year && today.Month == month_.MonthNumber ? today.Day : 0;
    auto hook = [this](const TDrawDateCellEvent& handler) -> calendar::TCellHook {
        if (!handler) return {};
        return [this, &handler](int day, QPainter& canvas, const QRect& cell, bool selected, QString& text,
                                bool& defaultDraw) { handler(this, day, canvas, cell, selected, text, defaultDraw); };
    };
    const calendar::TCellHooks hooks{hook(onDrawDateCell_), hook(onDrawCnDateCell_)};
    calendar::PaintCell(cellBitmap_, backBitmap_, DayGrid->pos(), column, row, rect, state, month_, cells_, hooks);
    return cellBitmap_;
}

void TChnCalendar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, backBitmap_);
}

void TChnCalendar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!constructed_) return;
    ApplyShowTitle(showTitle_);
    update();
}

void TChnCalendar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) update();
}

// The date, whether it is today, the lunar day, a festival or term, 休/班 and
// the host's words; the information cells say what they show.
QString TChnCalendar::GridCellName(int column, int row) const {
    const int index = calendar::CellIndex(column, row);
    if (index < 1 || index > calendar::kCellCount) return {};
    const calendar::TDayCell& cell = month_.Cells[index];
    if (!cell.Valid) return {};
    if (index > calendar::kLastDayCell) return cell.DayText;
    const lunar::CivilDate today = lunar::DecodeDate(now());
    const bool isToday = today.Year == month_.Year && today.Month == month_.MonthNumber && today.Day == cell.Day;
    const bool festival = cell.CnText != cell.CnDayText && cell.CnText != cell.CnMonthText;
    const QString extra = dayDescription_ ? dayDescription_(month_.Year, month_.MonthNumber, cell.Day) : QString();
    return calendar::texts::dayCellName(month_.Year, month_.MonthNumber, cell.Day, column, isToday,
                                        cell.CnMonthText + cell.CnDayText, festival ? cell.CnText : QString(),
                                        cell.Arrangement, extra);
}

}  // namespace tavlo
