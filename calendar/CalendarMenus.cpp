#include "CalendarMenus.h"

#include "CalendarTexts.h"

namespace tavlo::calendar {
namespace {

QAction* addItem(QMenu* menu, const QString& caption, const QString& name, int tag) {
    auto* item = menu->addAction(caption);
    item->setObjectName(name);
    item->setData(tag);
    return item;
}

void addSeparator(QMenu* menu, const QString& name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(name);
    separator->setData(0);
}

void addToday(QMenu* menu, const QString& name, const std::function<void()>& today) {
    QAction* item = addItem(menu, texts::today(), name, 0);
    QFont bold = item->font();
    bold.setBold(true);
    item->setFont(bold);
    menu->setDefaultAction(item);
    QObject::connect(item, &QAction::triggered, menu, [today] { today(); });
}

QMenu* addGroup(QMenu* menu, const QString& caption, const QString& name) {
    QMenu* group = menu->addMenu(caption);
    group->setObjectName(name);
    group->menuAction()->setObjectName(name);
    group->menuAction()->setData(0);
    return group;
}

void addYear(QMenu* group, const QString& prefix, int year, const std::function<void(int)>& choose) {
    QAction* item = addItem(group, QString::number(year), prefix + QString::number(year), year);
    QObject::connect(item, &QAction::triggered, group, [choose, year] { choose(year); });
}

}  // namespace

int ItemTag(const QAction* item) {
    return item->data().toInt();
}

QMenu* BuildMonthMenu(QWidget* parent, const std::function<void()>& today, const std::function<void(int)>& choose) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("MonthMenu"));
    addToday(menu, QStringLiteral("MenuMonth_ToDay"), today);
    addSeparator(menu, QStringLiteral("MenuMonth_ToDay_"));
    for (int month = 1; month <= 12; ++month) {
        QAction* item = addItem(menu, texts::monthName(month), QStringLiteral("MenuMonth_%1").arg(month - 1), month);
        QObject::connect(item, &QAction::triggered, menu, [choose, month] { choose(month); });
    }
    return menu;
}

QMenu* BuildYearMenu(QWidget* parent, const std::function<void()>& today, const std::function<void(int)>& choose) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("YearMenu"));
    addToday(menu, QStringLiteral("MenuYear_ToDay"), today);
    addSeparator(menu, QStringLiteral("MenuYear_ToDay_1"));
    QMenu* history = addGroup(menu, texts::history(), QStringLiteral("MenuYear_History"));
    // Every tenth year from 10 to 1900, in groups captioned by the century.
    for (int first = 10; first <= 1810; first += 100) {
        const QString prefix = QStringLiteral("MenuYear_History_");
        QMenu* group = addGroup(history, QString::number(first - 10), prefix + QString::number(first));
        for (int year = first; year <= first + 90; year += 10) addYear(group, prefix, year, choose);
    }
    addSeparator(menu, QStringLiteral("MenuYear_ToDay_2"));
    for (int decade = 1900; decade <= 2090; decade += 10) {
        const QString prefix = QStringLiteral("MenuYear_");
        QMenu* group = addGroup(menu, QString::number(decade), prefix + QString::number(decade));
        for (int year = decade; year <= decade + 9; ++year) addYear(group, prefix, year, choose);
    }
    return menu;
}

}  // namespace tavlo::calendar
