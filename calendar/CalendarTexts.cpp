#include "CalendarTexts.h"

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

}  // namespace tavlo::calendar::texts
