#pragma once
#include <stdexcept>

namespace tavlo::notes {

// A failure of the notes database: it cannot be opened, is not a database,
// or a statement failed. The text is SQLite's own.
class NotesError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace tavlo::notes
