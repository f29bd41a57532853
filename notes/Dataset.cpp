#include "Dataset.h"

#include "Connection.h"
#include "NotesError.h"

#include <QRegularExpression>

#include <sqlite3.h>

#include <memory>
#include <string>

namespace tavlo::notes {

namespace {

struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

[[noreturn]] void fail(sqlite3* db, int result, const QString& what) {
    throwSqliteError(db, result, what.toStdString());
}

// A use of the query that the notes never make: a fault in the code.
[[noreturn]] void misused(const std::string& what) {
    throw NotesError(kDatabaseMisused, what);
}

Statement prepare(sqlite3* db, const QString& text) {
    sqlite3_stmt* statement = nullptr;
    const QByteArray utf8 = text.toUtf8();
    const int result = sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &statement, nullptr);
    if (result != SQLITE_OK) fail(db, result, QStringLiteral("notes statement \"%1\"").arg(text.trimmed()));
    return Statement(statement);
}

void bind(sqlite3* db, sqlite3_stmt* statement, int index, const QVariant& value) {
    int result = SQLITE_OK;
    switch (value.typeId()) {
    case QMetaType::UnknownType: result = sqlite3_bind_null(statement, index); break;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        // A null pointer would store NULL; an empty note is an empty blob.
        result = bytes.isEmpty() ? sqlite3_bind_zeroblob(statement, index, 0)
                                 : sqlite3_bind_blob64(statement, index, bytes.constData(),
                                                       static_cast<sqlite3_uint64>(bytes.size()), SQLITE_TRANSIENT);
        break;
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool: result = sqlite3_bind_int64(statement, index, value.toLongLong()); break;
    case QMetaType::Double: result = sqlite3_bind_double(statement, index, value.toDouble()); break;
    default: {
        const QByteArray text = value.toString().toUtf8();
        result = sqlite3_bind_text64(statement, index, text.constData(), static_cast<sqlite3_uint64>(text.size()),
                                     SQLITE_TRANSIENT, SQLITE_UTF8);
    }
    }
    if (result != SQLITE_OK) fail(db, result, QStringLiteral("notes parameter"));
}

QVariant columnValue(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL: return {};
    case SQLITE_INTEGER: return QVariant::fromValue<qlonglong>(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT: return sqlite3_column_double(statement, column);
    case SQLITE_TEXT:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                                 sqlite3_column_bytes(statement, column));
    default: {
        const void* data = sqlite3_column_blob(statement, column);
        return QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(statement, column));
    }
    }
}

QString quoted(const QString& name) {
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// "select * from <table> <rest>": the one shape whose rows can be written back.
const QRegularExpression kSingleTable(QStringLiteral(R"(^\s*select\s+\*\s+from\s+([A-Za-z_][A-Za-z0-9_]*)(.*)$)"),
                                      QRegularExpression::CaseInsensitiveOption |
                                          QRegularExpression::DotMatchesEverythingOption);

}  // namespace

Dataset::Dataset(Connection& connection) : connection_(connection) {}

void Dataset::setSQL(const QString& text) {
    if (Active()) Close();
    sql_ = text;
}

void Dataset::setParam(const QString& name, const QVariant& value) {
    for (auto& [key, stored] : params_) {
        if (key == name) {
            stored = value;
            return;
        }
    }
    params_.emplace_back(name, value);
}

void Dataset::Open() {
    Close();
    sqlite3* db = connection_.handle();
    const QRegularExpressionMatch match = kSingleTable.match(sql_);
    table_ = match.hasMatch() ? match.captured(1) : QString();
    const QString text =
        table_.isEmpty() ? sql_ : QStringLiteral("select rowid, * from %1%2").arg(table_, match.captured(2));
    Statement statement = prepare(db, text);
    for (const auto& [name, value] : params_) {
        const int index = sqlite3_bind_parameter_index(statement.get(), name.toUtf8().constData());
        if (index == 0) misused("notes statement has no parameter " + name.toStdString());
        bind(db, statement.get(), index, value);
    }
    const int first = table_.isEmpty() ? 0 : 1;
    const int columns = sqlite3_column_count(statement.get());
    QStringList fields;
    for (int c = first; c < columns; ++c) fields << QString::fromUtf8(sqlite3_column_name(statement.get(), c));
    std::vector<Row> rows;
    for (;;) {
        const int step = sqlite3_step(statement.get());
        if (step == SQLITE_DONE) break;
        if (step != SQLITE_ROW) fail(db, step, QStringLiteral("notes statement \"%1\"").arg(sql_.trimmed()));
        Row row;
        if (first) row.rowid = sqlite3_column_int64(statement.get(), 0);
        for (int c = first; c < columns; ++c) row.values.push_back(columnValue(statement.get(), c));
        rows.push_back(std::move(row));
    }
    fields_ = std::move(fields);
    rows_ = std::move(rows);
    current_ = 0;
    state_ = State::Browse;
}

void Dataset::Close() {
    state_ = State::Inactive;
    rows_.clear();
    fields_.clear();
    changed_.clear();
    current_ = 0;
}

void Dataset::Next() {
    if (current_ < RecordCount()) ++current_;
}

int Dataset::fieldIndex(const QString& field) const {
    for (int index = 0; index < fields_.size(); ++index)
        if (fields_[index].compare(field, Qt::CaseInsensitive) == 0) return index;
    misused("notes result has no column " + field.toStdString());
}

void Dataset::requireActive(const char* what) const {
    if (!Active()) misused(std::string("notes query is closed: cannot ") + what);
}

QVariant Dataset::value(const QString& field) const {
    requireActive("read");
    const int index = fieldIndex(field);
    if (state_ == State::Edit || state_ == State::Insert) return pending_.values[index];
    if (Eof()) misused("notes query has no current row");
    return rows_[current_].values[index];
}

QByteArray Dataset::blob(const QString& field) const {
    const QVariant stored = value(field);
    if (stored.typeId() == QMetaType::QString) return stored.toString().toUtf8();
    return stored.toByteArray();
}

void Dataset::setValue(const QString& field, const QVariant& value) {
    if (state_ != State::Edit && state_ != State::Insert) misused("notes query is not in edit or insert mode");
    const int index = fieldIndex(field);
    pending_.values[index] = value;
    changed_[index] = true;
}

void Dataset::Edit() {
    requireActive("edit");
    if (table_.isEmpty()) misused("notes result cannot be edited");
    if (Eof()) misused("notes query has no current row to edit");
    pending_ = rows_[current_];
    changed_.assign(fields_.size(), false);
    state_ = State::Edit;
}

void Dataset::Insert() {
    requireActive("insert");
    if (table_.isEmpty()) misused("notes result cannot take new rows");
    pending_ = Row{0, std::vector<QVariant>(fields_.size())};
    changed_.assign(fields_.size(), false);
    state_ = State::Insert;
}

void Dataset::Cancel() {
    if (state_ == State::Edit || state_ == State::Insert) state_ = State::Browse;
}

void Dataset::Post() {
    if (state_ == State::Edit)
        postUpdate();
    else if (state_ == State::Insert)
        postInsert();
    else
        misused("notes query is not in edit or insert mode");
    state_ = State::Browse;
}

void Dataset::postUpdate() {
    QStringList sets;
    std::vector<QVariant> values;
    for (int i = 0; i < fields_.size(); ++i) {
        if (!changed_[i]) continue;
        sets << quoted(fields_[i]) + QStringLiteral(" = ?");
        values.push_back(pending_.values[i]);
    }
    if (sets.isEmpty()) return;
    sqlite3* db = connection_.handle();
    Statement statement =
        prepare(db, QStringLiteral("update %1 set %2 where rowid = ?").arg(quoted(table_), sets.join(u", ")));
    int index = 1;
    for (const QVariant& value : values) bind(db, statement.get(), index++, value);
    bind(db, statement.get(), index, QVariant::fromValue<qlonglong>(pending_.rowid));
    const int step = sqlite3_step(statement.get());
    if (step != SQLITE_DONE) fail(db, step, QStringLiteral("saving a note"));
    if (sqlite3_changes(db) != 1) throw NotesError("要保存的记事已被另一个程序删除", "saving a note: its row is gone");
    rows_[current_] = pending_;
}

void Dataset::postInsert() {
    QStringList columns, marks;
    std::vector<QVariant> values;
    for (int i = 0; i < fields_.size(); ++i) {
        if (!changed_[i]) continue;
        columns << quoted(fields_[i]);
        marks << QStringLiteral("?");
        values.push_back(pending_.values[i]);
    }
    sqlite3* db = connection_.handle();
    const QString text = columns.isEmpty() ? QStringLiteral("insert into %1 default values").arg(quoted(table_))
                                           : QStringLiteral("insert into %1 (%2) values (%3)")
                                                 .arg(quoted(table_), columns.join(u", "), marks.join(u", "));
    Statement statement = prepare(db, text);
    int index = 1;
    for (const QVariant& value : values) bind(db, statement.get(), index++, value);
    const int step = sqlite3_step(statement.get());
    if (step != SQLITE_DONE) fail(db, step, QStringLiteral("adding a note"));
    pending_.rowid = sqlite3_last_insert_rowid(db);
    rows_.push_back(pending_);
    current_ = RecordCount() - 1;
}

}  // namespace tavlo::notes
