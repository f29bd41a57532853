#pragma once
#include "Connection.h"
#include "Dataset.h"
#include "ProgramFolder.h"

#include <QObject>

namespace tavlo {

// The data module: holds the notes database connection and its query. Made
// first of all windows at start-up and kept for the whole run. The database
// is opened on first use, so a damaged file costs the notes, not the start.
class TDM : public QObject {
    Q_OBJECT
public:
    // Read-only (for commands that only read) it creates and changes nothing.
    explicit TDM(const ProgramFolder& folder, QObject* parent = nullptr,
                 notes::Connection::Mode mode = notes::Connection::Mode::ReadWrite);

    // Where the notes are kept, in the program folder.
    static constexpr const char* kDatabaseName = "Data\\Notes.db";

    // Its creation handler; does nothing.
    void DataModuleCreate() {}

    notes::Connection AdoCon;
    // The one query every note operation goes through.
    notes::Dataset qryData;
};

}  // namespace tavlo
