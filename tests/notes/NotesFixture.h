#pragma once
#include "ProgramFolder.h"
#include "TempFolder.h"
#include "uDM.h"

#include <sqlite3.h>

#include <QString>

#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tavlo::test {

// A data module over a fresh program folder, and a side door into its
// database file for checking what landed there.
struct NotesFixture {
    TempFolder folder;
    ProgramFolder programFolder{folder.path()};
    std::unique_ptr<TDM> dm = std::make_unique<TDM>(programFolder);

    std::filesystem::path databaseFile() const { return programFolder.path(TDM::kDatabaseName); }

    // Runs SQL on a connection of its own and returns the first column of
    // the first row as text ("" when there is none).
    std::string sql(const std::string& text) const {
        sqlite3* db = nullptr;
        if (sqlite3_open(databaseFile().string().c_str(), &db) != SQLITE_OK) throw std::runtime_error("open");
        sqlite3_stmt* statement = nullptr;
        std::string result;
        if (sqlite3_prepare_v2(db, text.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            const std::string message = sqlite3_errmsg(db);
            sqlite3_close(db);
            throw std::runtime_error(message);
        }
        int step;
        bool first = true;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
            if (first && sqlite3_column_count(statement) > 0) {
                const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, 0));
                result.assign(data ? data : "", sqlite3_column_bytes(statement, 0));
            }
            first = false;
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
        if (step != SQLITE_DONE) throw std::runtime_error("step");
        return result;
    }
};

}  // namespace tavlo::test
