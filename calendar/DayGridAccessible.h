#pragma once
// The day grid to assistive technology: a table of the week's seven days by
// six weeks, each cell named by the grid's owner (date, lunar day, 休/班,
// festival or term, note), selectable by a screen reader's action.
#include <QAccessibleWidget>

#include <vector>

namespace tavlo::calendar {

class TDayGrid;

// Registers the factory that gives TDayGrid this face; only the first call counts.
void installDayGridAccessibility();

// The table cell's index (row × 7 + column, from 0) of grid cell (column,
// row); -1 for the heading row, the week numbers and the right margin.
int accessibleCellIndex(int column, int row);

}  // namespace tavlo::calendar
