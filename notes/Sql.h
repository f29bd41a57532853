#pragma once
#include <QByteArray>
#include <QString>

#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace tavlo::notes {

// One prepared SQLite statement with its values bound as parameters; every
// failure throws NotesError with the cause in the user's words. The text is
// one statement: anything after it is refused, never run.
class Sql {
public:
    Sql(sqlite3* db, const char* text);
    ~Sql();
    Sql(const Sql&) = delete;
    Sql& operator=(const Sql&) = delete;

    Sql& bind(int index, long long value);
    Sql& bind(int index, const QString& text);
    Sql& bindBlob(int index, const QByteArray& bytes);

    // True while it yields rows; false once it is done.
    bool next();
    // Runs it to the end.
    void run();
    void reset();

    long long integer(int column) const;
    QString text(int column) const;
    QByteArray blob(int column) const;

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
    std::string text_;
};

// A name read from a database, as one SQL identifier whatever it holds
// (double quotes around it, those inside doubled).
QString quotedIdentifier(const QString& name);

}  // namespace tavlo::notes
