#pragma once
// The calendar's two popup menus: months, and years by decade and century.
#include <QMenu>

#include <functional>

namespace tavlo::calendar {

// Each chosen item calls `today` (the "今日" entries) or `choose` with its tag.
QMenu* BuildMonthMenu(QWidget* parent, const std::function<void()>& today, const std::function<void(int)>& choose);
QMenu* BuildYearMenu(QWidget* parent, const std::function<void()>& today, const std::function<void(int)>& choose);

// The number an item carries (month 1..12 or year; 0 for the others).
int ItemTag(const QAction* item);

}  // namespace tavlo::calendar
