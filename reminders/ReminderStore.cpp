#include "ReminderStore.h"

#include "CivilCalendar.h"
#include "Connection.h"
#include "NotesError.h"
#include "Sql.h"

namespace tavlo::reminders {
namespace {

const char* kindWord(Reminder::Kind kind) {
    switch (kind) {
    case Reminder::Kind::Lunar: return "lunar";
    case Reminder::Kind::Solar: return "solar";
    case Reminder::Kind::Once: return "once";
    }
    return "solar";
}

std::optional<Reminder::Kind> kindOf(const QString& word) {
    if (word == QLatin1String("lunar")) return Reminder::Kind::Lunar;
    if (word == QLatin1String("solar")) return Reminder::Kind::Solar;
    if (word == QLatin1String("once")) return Reminder::Kind::Once;
    return std::nullopt;
}

}  // namespace

std::optional<std::string> invalidReason(const Reminder& reminder) {
    if (reminder.title.empty()) return "提醒的标题不能是空的";
    if (reminder.daysAhead < 0 || reminder.daysAhead > 30) return "提前提醒的天数只能是 0 到 30";
    if (reminder.month < 1 || reminder.month > 12) return "月份只能是 1 到 12";
    switch (reminder.kind) {
    case Reminder::Kind::Lunar:
        if (reminder.day < 1 || reminder.day > 30) return "农历的日子只能是 1 到 30";
        return std::nullopt;
    case Reminder::Kind::Solar:
        // 29 February stays: it falls on the 28th in common years.
        if (reminder.leap) return "只有农历日期才有闰月";
        if (reminder.day < 1 || reminder.day > lunar::CivilDaysInMonth(2024, reminder.month)) return "没有这个日子";
        return std::nullopt;
    case Reminder::Kind::Once:
        if (reminder.leap) return "只有农历日期才有闰月";
        if (reminder.year < 1 || reminder.year > 2100) return "年份只能是 1 到 2100";
        if (reminder.day < 1 || reminder.day > lunar::CivilDaysInMonth(reminder.year, reminder.month))
            return "没有这个日子";
        return std::nullopt;
    }
    return std::nullopt;
}

bool ReminderStore::tableExists() {
    notes::Sql query(connection_.handle(),
                     "select count(*) from sqlite_master where type = 'table' and name = 'Reminders'");
    return query.next() && query.integer(0) > 0;
}

void ReminderStore::createTable() {
    connection_.exec(
        "create table if not exists Reminders (Id integer primary key, Title text not null, Note text not null "
        "default '', Kind text not null, Year integer not null default 0, Month integer not null, Day integer not "
        "null, Leap integer not null default 0, DaysAhead integer not null default 0)");
}

std::int64_t ReminderStore::add(const Reminder& reminder) {
    if (const auto reason = invalidReason(reminder)) throw notes::NotesError(*reason);
    createTable();
    notes::Sql insert(connection_.handle(),
                      "insert into Reminders (Title, Note, Kind, Year, Month, Day, Leap, DaysAhead) "
                      "values (?, ?, ?, ?, ?, ?, ?, ?)");
    insert.bind(1, QString::fromStdString(reminder.title))
        .bind(2, QString::fromStdString(reminder.note))
        .bind(3, QString::fromLatin1(kindWord(reminder.kind)))
        .bind(4, reminder.year)
        .bind(5, reminder.month)
        .bind(6, reminder.day)
        .bind(7, reminder.leap ? 1 : 0)
        .bind(8, reminder.daysAhead);
    insert.run();
    notes::Sql last(connection_.handle(), "select last_insert_rowid()");
    last.next();
    return last.integer(0);
}

std::vector<Reminder> ReminderStore::all() {
    std::vector<Reminder> reminders;
    if (!tableExists()) return reminders;
    notes::Sql query(connection_.handle(),
                     "select Id, Title, Note, Kind, Year, Month, Day, Leap, DaysAhead from Reminders order by Id");
    while (query.next()) {
        Reminder reminder;
        reminder.id = query.integer(0);
        reminder.title = query.text(1).toStdString();
        reminder.note = query.text(2).toStdString();
        const std::optional<Reminder::Kind> kind = kindOf(query.text(3));
        reminder.year = static_cast<int>(query.integer(4));
        reminder.month = static_cast<int>(query.integer(5));
        reminder.day = static_cast<int>(query.integer(6));
        reminder.leap = query.integer(7) != 0;
        reminder.daysAhead = static_cast<int>(query.integer(8));
        // A row another program wrote that no rule reads is passed over.
        if (!kind) continue;
        reminder.kind = *kind;
        if (!invalidReason(reminder)) reminders.push_back(reminder);
    }
    return reminders;
}

bool ReminderStore::remove(std::int64_t id) {
    if (!tableExists()) return false;
    notes::Sql erase(connection_.handle(), "delete from Reminders where Id = ?");
    erase.bind(1, id);
    erase.run();
    notes::Sql changed(connection_.handle(), "select changes()");
    return changed.next() && changed.integer(0) > 0;
}

}  // namespace tavlo::reminders
