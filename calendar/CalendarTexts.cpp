#include "CalendarTexts.h"

#include <QStringList>

namespace tavlo::calendar::texts {

QString today() {
    return QStringLiteral("今日");
}

QString monthName(int month) {
    static const char16_t* const kNames[] = {u"一月", u"二月", u"三月", u"四月", u"五月",   u"六月",
                                             u"七月", u"八月", u"九月", u"十月", u"十一月", u"十二月"};
    return QString::fromUtf16(kNames[month - 1]);
}

QString history() {
    return QStringLiteral("历史日期");
}

QString yearUnit() {
    return QStringLiteral("年");
}

QString monthUnit() {
    return QStringLiteral("月");
}

QString todayMark() {
    return QStringLiteral("今天");
}

QString restDayMark() {
    return QStringLiteral("休");
}

QString workDayMark() {
    return QStringLiteral("班");
}

QString weekdayHeading(int column, bool wide) {
    static const char16_t* const kShort[] = {u"日", u"一", u"二", u"三", u"四", u"五", u"六"};
    const QString day = QString::fromUtf16(kShort[column - 1]);
    return wide ? QStringLiteral("星期") + day : day;
}

QString animalYear(const QString& animal) {
    return animal + QStringLiteral("年");
}

QString lunarDate(const QString& date) {
    return QStringLiteral(" 农历") + date;
}

QString todayName() {
    return QStringLiteral("回到今天");
}

QString todayTip() {
    return QStringLiteral("显示今天所在的月份并选中今天");
}

QString monthMenuName() {
    return QStringLiteral("选择月份");
}

QString monthMenuTip() {
    return QStringLiteral("打开月份菜单（Ctrl+PageUp/PageDown：上月/下月）");
}

QString yearMenuName() {
    return QStringLiteral("选择年份");
}

QString yearMenuTip() {
    return QStringLiteral("打开年份菜单（Ctrl+Shift+PageUp/PageDown：上一年/下一年）");
}

QString monthSpinName() {
    return QStringLiteral("上月/下月");
}

QString yearSpinName() {
    return QStringLiteral("上一年/下一年");
}

QString spinTip() {
    return QStringLiteral("上箭头键向后翻，下箭头键向前翻");
}

QString dayCellName(int year, int month, int day, int weekdayColumn, bool today, const QString& lunarDay,
                    const QString& festival, holidays::DayKind kind, const QString& extra) {
    QStringList parts{
        QStringLiteral("%1年%2月%3日 %4").arg(year).arg(month).arg(day).arg(weekdayHeading(weekdayColumn, true))};
    if (today) parts << todayMark();
    if (!lunarDay.isEmpty()) parts << QStringLiteral("农历") + lunarDay;
    if (!festival.isEmpty()) parts << festival;
    if (kind == holidays::DayKind::Off) parts << QStringLiteral("休息日");
    if (kind == holidays::DayKind::Work) parts << QStringLiteral("调休上班");
    if (!extra.isEmpty()) parts << extra;
    return parts.join(QStringLiteral("，"));
}

QString gridName() {
    return QStringLiteral("日历");
}

}  // namespace tavlo::calendar::texts
