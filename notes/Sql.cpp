#include "Sql.h"

#include "NotesError.h"

#include <sqlite3.h>

namespace tavlo::notes {

Sql::Sql(sqlite3* db, const char* text) : db_(db), text_(text) {
    const char* tail = nullptr;
    const int result = sqlite3_prepare_v2(db, text, -1, &statement_, &tail);
    if (result != SQLITE_OK) throwSqliteError(db, result, "preparing \"" + text_ + "\"");
    // Only white space may follow: a second statement smuggled into the
    // text (through a name taken from a database) is never run.
    for (; tail && *tail; ++tail)
        if (*tail != ' ' && *tail != '\t' && *tail != '\n' && *tail != '\r' && *tail != ';') {
            sqlite3_finalize(statement_);
            throw NotesError(kDatabaseMisused, "more than one statement in \"" + text_ + "\"");
        }
}

Sql::~Sql() {
    sqlite3_finalize(statement_);
}

Sql& Sql::bind(int index, long long value) {
    const int result = sqlite3_bind_int64(statement_, index, value);
    if (result != SQLITE_OK) throwSqliteError(db_, result, "binding to \"" + text_ + "\"");
    return *this;
}

Sql& Sql::bind(int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const int result = sqlite3_bind_text64(statement_, index, utf8.constData(),
                                           static_cast<sqlite3_uint64>(utf8.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
    if (result != SQLITE_OK) throwSqliteError(db_, result, "binding to \"" + text_ + "\"");
    return *this;
}

Sql& Sql::bindBlob(int index, const QByteArray& bytes) {
    const int result = bytes.isEmpty()
                           ? sqlite3_bind_zeroblob(statement_, index, 0)
                           : sqlite3_bind_blob64(statement_, index, bytes.constData(),
                                                 static_cast<sqlite3_uint64>(bytes.size()), SQLITE_TRANSIENT);
    if (result != SQLITE_OK) throwSqliteError(db_, result, "binding to \"" + text_ + "\"");
    return *this;
}

bool Sql::next() {
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) return true;
    if (result == SQLITE_DONE) return false;
    throwSqliteError(db_, result, "running \"" + text_ + "\"");
}

void Sql::run() {
    while (next()) {}
}

void Sql::reset() {
    sqlite3_reset(statement_);
}

long long Sql::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

QString Sql::text(int column) const {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(statement_, column));
}

QByteArray Sql::blob(int column) const {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(statement_, column));
    return QByteArray(data, sqlite3_column_bytes(statement_, column));
}

QString quotedIdentifier(const QString& name) {
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

}  // namespace tavlo::notes
