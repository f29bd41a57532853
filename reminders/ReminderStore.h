#pragma once
// The reminders kept in the notes database, in a table of their own
// ("Reminders"), so that they are backed up, restored and copied with the
// notes.
#include "Reminder.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavlo::notes {
class Connection;
}

namespace tavlo::reminders {

// Why a reminder cannot be kept, in Chinese; nullopt when it can.
std::optional<std::string> invalidReason(const Reminder& reminder);

class ReminderStore {
public:
    explicit ReminderStore(notes::Connection& connection) : connection_(connection) {}

    // Keeps a new reminder and returns its number. Throws NotesError (also
    // for a reminder invalidReason refuses).
    std::int64_t add(const Reminder& reminder);
    // Every reminder, by number; none where the database has no table yet.
    std::vector<Reminder> all();
    // False when there is no reminder of that number.
    bool remove(std::int64_t id);

private:
    bool tableExists();
    void createTable();

    notes::Connection& connection_;
};

}  // namespace tavlo::reminders
