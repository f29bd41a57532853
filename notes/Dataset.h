#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace tavlo::notes {

class Connection;

// A query over the notes database in the manner the notes use it: set the
// statement text and its parameters, open it, walk its rows, and edit or
// insert a row and post it. Values only ever reach SQLite as bound
// parameters (":name" in the statement), never as part of its text.
//
// Rows can be edited and inserted when the statement is a plain
// "select * from <table> ..." over one table; other statements are read-only.
class Dataset {
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit Dataset(Connection& connection);

    void setSQL(const QString& text);
    const QString& SQL() const { return sql_; }
    // Binds `value` to ":name" in the statement at the next Open. Strings go
    // in as text, QByteArray as a blob, integers as integers.
    void setParam(const QString& name, const QVariant& value);
    void clearParams() { params_.clear(); }

    // Runs the statement and keeps its rows; throws NotesError.
    void Open();
    void Close();
    bool Active() const { return state_ != State::Inactive; }
    State state() const { return state_; }

    int RecordCount() const { return static_cast<int>(rows_.size()); }
    // The current row, from 0; RecordCount() when past the last.
    int RecNo() const { return current_; }
    bool Eof() const { return current_ >= RecordCount(); }
    void First() { current_ = 0; }
    void Next();

    const QStringList& fieldNames() const { return fields_; }
    QVariant value(const QString& field) const;
    // A blob column's bytes (text is given as its UTF-8 bytes).
    QByteArray blob(const QString& field) const;
    void setValue(const QString& field, const QVariant& value);

    // Edit puts the current row into edit mode; Insert starts a new empty
    // row; Post writes it (UPDATE or INSERT); Cancel drops the changes.
    void Edit();
    void Insert();
    void Post();
    void Cancel();

private:
    struct Row {
        long long rowid = 0;
        std::vector<QVariant> values;
    };
    int fieldIndex(const QString& field) const;
    void requireActive(const char* what) const;
    void postUpdate();
    void postInsert();

    Connection& connection_;
    QString sql_;
    std::vector<std::pair<QString, QVariant>> params_;
    State state_ = State::Inactive;
    QString table_;  // empty: read-only result
    QStringList fields_;
    std::vector<Row> rows_;
    int current_ = 0;
    Row pending_;
    std::vector<bool> changed_;
};

}  // namespace tavlo::notes
