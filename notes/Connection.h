#pragma once
#include <filesystem>
#include <memory>
#include <utility>

struct sqlite3;

namespace tavlo::notes {

// The notes database connection: one SQLite file, opened on first use.
//
// Read-write (the program, and commands that write) creates the file and
// gives it what is missing: the notes tables, their week rows and the search
// index. Read-only (commands that only read) creates nothing and changes
// nothing: a missing file fails with "没有找到记事数据库".
//
// Either way a file that is not a database, or another program's database
// (tables, none of them the notes'), is refused and left exactly as it is;
// every use then fails with NotesError and tries again next time.
class Connection {
public:
    enum class Mode { ReadWrite, ReadOnly };

    explicit Connection(std::filesystem::path file, Mode mode = Mode::ReadWrite);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const std::filesystem::path& file() const { return file_; }
    Mode mode() const { return mode_; }

    // The open handle; opens the file and creates what is missing first.
    sqlite3* handle();
    bool isOpen() const { return db_ != nullptr; }
    void close();

    // How long a statement waits for another copy of the program that
    // holds the lock, in milliseconds.
    static constexpr int kBusyTimeoutMs = 30000;

    // Runs SQL text without parameters (schema and transaction control).
    void exec(const char* sql);

    // Set when the search index failed to take a note: the save went on
    // without it, and the index is to be looked at once the save is done.
    void setSearchIndexFailed() { searchIndexFailed_ = true; }
    bool takeSearchIndexFailure() { return std::exchange(searchIndexFailed_, false); }

    // SQLite's data_version when the search index was last checked: another
    // value means another program changed the database since.
    long long seenDataVersion() const { return seenDataVersion_; }
    void setSeenDataVersion(long long version) { seenDataVersion_ = version; }
    // Whether the search index passed its own check since the file was
    // opened (done before the first search: it reads the whole index).
    bool searchIndexChecked() const { return searchIndexChecked_; }
    void setSearchIndexChecked(bool checked) { searchIndexChecked_ = checked; }

private:
    void openAndPrepare();
    void createNotesTables();

    std::filesystem::path file_;
    Mode mode_;
    sqlite3* db_ = nullptr;
    bool searchIndexFailed_ = false;
    long long seenDataVersion_ = -1;
    bool searchIndexChecked_ = false;
};

// One transaction, taken with the write lock at once so that two copies of
// the program never both read a row and then race to write it. Rolled back
// unless committed.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Connection& connection_;
    bool open_ = true;
};

// Whether the database holds a table of that name.
bool tableExists(sqlite3* db, const char* name);

}  // namespace tavlo::notes
