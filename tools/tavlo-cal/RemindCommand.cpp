// tavlo-cal remind add|list|remove|due: the reminders kept in the notes
// database of the program folder.
#include "CalendarArgs.h"
#include "Commands.h"
#include "Connection.h"
#include "NotesError.h"
#include "ProgramFolder.h"
#include "ReminderStore.h"
#include "StandardOutput.h"

#include <cstdio>

namespace tavlo::cal {
namespace {

using reminders::Reminder;

int number(const std::string& text, int highest, const std::string& what) {
    int value = 0;
    if (text.empty() || text.size() > 6) throw UsageError(what + "不对：" + text);
    for (const char c : text) {
        if (c < '0' || c > '9') throw UsageError(what + "不对：" + text);
        value = value * 10 + (c - '0');
    }
    if (value > highest) throw UsageError(what + "不对：" + text);
    return value;
}

// "M-D" of a yearly reminder.
void monthDay(const std::string& text, Reminder& reminder) {
    const std::size_t dash = text.find('-');
    if (dash == std::string::npos) throw UsageError("日期应写作 月-日：" + text);
    reminder.month = number(text.substr(0, dash), 12, "月份");
    reminder.day = number(text.substr(dash + 1), 31, "日子");
}

std::string when(const Reminder& reminder) {
    char text[64];
    switch (reminder.kind) {
    case Reminder::Kind::Lunar:
        std::snprintf(text, sizeof(text), "农历每年 %s%d-%d", reminder.leap ? "闰" : "", reminder.month, reminder.day);
        break;
    case Reminder::Kind::Solar:
        std::snprintf(text, sizeof(text), "公历每年 %d-%d", reminder.month, reminder.day);
        break;
    case Reminder::Kind::Once: return formatDate({reminder.year, reminder.month, reminder.day});
    }
    return text;
}

std::filesystem::path database(const std::filesystem::path& folder) {
    return ProgramFolder(folder).path("Data\\Notes.db");
}

}  // namespace

std::vector<Reminder> storedReminders(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::exists(database(folder), error)) return {};
    notes::Connection connection(database(folder), notes::Connection::Mode::ReadOnly);
    return reminders::ReminderStore(connection).all();
}

void runRemind(const tool::Invocation& call, const std::filesystem::path& folder) {
    const std::vector<std::string>& args = call.operands;
    const std::string& action = args[0];
    try {
        if (action == "add") {
            if (args.size() != 2) throw UsageError("add 需要一个标题");
            Reminder reminder;
            reminder.title = args[1];
            reminder.note = call.value("--note").value_or("");
            const auto lunarDate = call.value("--lunar"), solarDate = call.value("--solar"),
                       once = call.value("--once");
            if ((lunarDate ? 1 : 0) + (solarDate ? 1 : 0) + (once ? 1 : 0) != 1)
                throw UsageError("--lunar、--solar、--once 要写一个，只写一个");
            if (lunarDate) {
                reminder.kind = Reminder::Kind::Lunar;
                monthDay(*lunarDate, reminder);
                reminder.leap = call.has("--leap");
            } else if (call.has("--leap")) {
                throw UsageError("--leap 只用于 --lunar");
            } else if (solarDate) {
                reminder.kind = Reminder::Kind::Solar;
                monthDay(*solarDate, reminder);
            } else {
                reminder.kind = Reminder::Kind::Once;
                const lunar::CivilDate date = parseDay(*once);
                reminder.year = date.Year;
                reminder.month = date.Month;
                reminder.day = date.Day;
            }
            if (const auto ahead = call.value("--ahead")) reminder.daysAhead = number(*ahead, 30, "提前的天数");
            if (const auto reason = reminders::invalidReason(reminder)) throw UsageError(*reason);
            notes::Connection connection(database(folder));
            const std::int64_t id = reminders::ReminderStore(connection).add(reminder);
            tool::writeLine("已添加提醒 " + std::to_string(id) + "：" + reminder.title + "（" + when(reminder) + "）");
        } else if (action == "list") {
            if (args.size() != 1) throw UsageError("list 不带参数");
            std::string text;
            for (const Reminder& reminder : storedReminders(folder)) {
                text += std::to_string(reminder.id) + "\t" + when(reminder) + "\t" + reminder.title;
                if (reminder.daysAhead > 0) text += "\t提前 " + std::to_string(reminder.daysAhead) + " 天";
                text += "\n";
            }
            tool::writeOut(text);
        } else if (action == "remove") {
            if (args.size() != 2) throw UsageError("remove 需要提醒的编号");
            const int id = number(args[1], 999999, "编号");
            notes::Connection connection(database(folder));
            if (!reminders::ReminderStore(connection).remove(id))
                throw tool::Failure("没有编号为 " + args[1] + " 的提醒");
            tool::writeLine("已删除提醒 " + args[1]);
        } else if (action == "due") {
            if (args.size() > 2) throw UsageError("due 最多带一个日期");
            const lunar::CivilDate day = args.size() == 2 ? parseDay(args[1]) : today();
            std::string text;
            for (const Reminder& reminder : storedReminders(folder))
                if (reminders::dueOn(reminder, day)) text += reminder.title + "\n";
            tool::writeOut(text);
        } else {
            throw UsageError("不认识的提醒命令：" + action);
        }
    } catch (const notes::NotesError& error) {
        throw tool::Failure(error.what());
    }
}

}  // namespace tavlo::cal
