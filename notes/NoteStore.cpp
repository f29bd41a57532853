#include "NoteStore.h"

#include "Connection.h"
#include "NoteSearch.h"
#include "NoteText.h"
#include "NotesError.h"
#include "Sql.h"
#include "uDM.h"

namespace tavlo::notes {

namespace {

const QString kDayStatement = QStringLiteral(" select * from UserCon where conIndex = :conIndex ");

QString weekStatement(int page) {
    return QStringLiteral(" select * from %1 where ID = 1 ").arg(weekTable(page));
}

void openDay(Dataset& query, const QDate& date) {
    query.Close();
    query.setSQL(kDayStatement);
    query.clearParams();
    query.setParam(QStringLiteral(":conIndex"), dayKey(date));
    query.Open();
}

// Runs a save; when it fails because the search index is damaged, the index
// goes, the save is made without it, and the index is made anew from the
// notes: a note's save never depends on its copy in the index.
template <typename Save>
auto savePastTheIndex(Connection& connection, const Save& save) {
    connection.takeSearchIndexFailure();
    try {
        const auto saved = save();
        // Saved, but the index did not take the note: mended if it can be,
        // and the save stands either way.
        if (connection.takeSearchIndexFailure() && searchIndexIsDamaged(connection)) {
            try {
                dropSearchIndex(connection);
                prepareSearchIndex(connection);
            } catch (const NotesError& indexError) {
                logFailure(indexError);
            }
        }
        return saved;
    } catch (const NotesError& error) {
        if (!searchIndexIsDamaged(connection)) throw;
        logFailure(error);
    }
    dropSearchIndex(connection);
    const auto saved = save();
    prepareSearchIndex(connection);
    return saved;
}

bool writeWeekColumnsOnce(TDM& dm, int page, const WeekColumnsToWrite& columns) {
    Transaction transaction(dm.AdoCon);
    Dataset& query = dm.qryData;
    query.Close();
    query.clearParams();
    query.setSQL(weekStatement(page));
    query.Open();
    if (query.RecordCount() == 0) return false;
    query.Edit();
    WeekPlainTexts plainTexts;
    for (int i = 0; i < kWeekEditors; ++i) {
        if (!columns[i]) continue;
        query.setValue(weekColumns()[i], columns[i]->bytes);
        plainTexts[i] = columns[i]->plainText ? *columns[i]->plainText : notePlainText(columns[i]->bytes);
    }
    query.Post();
    indexWeekPage(dm.AdoCon, page, plainTexts);
    transaction.commit();
    return true;
}

bool writeDayNoteOnce(TDM& dm, const QDate& date, const QByteArray& text, const std::optional<QString>& plainText) {
    Transaction transaction(dm.AdoCon);
    Dataset& query = dm.qryData;
    openDay(query, date);
    if (query.RecordCount() > 0) {
        query.Edit();
    } else {
        query.Close();
        query.Open();
        query.Insert();
        query.setValue(QStringLiteral("conIndex"), dayKey(date));
    }
    query.setValue(QStringLiteral("data"), text);
    query.Post();
    indexDayNote(dm.AdoCon, date, plainText ? *plainText : notePlainText(text));
    transaction.commit();
    return true;
}

}  // namespace

const std::array<QString, kWeekEditors>& weekColumns() {
    static const std::array<QString, kWeekEditors> columns = {
        QStringLiteral("MondayCon"),   QStringLiteral("TuesdayCon"), QStringLiteral("WednesdayCon"),
        QStringLiteral("ThursdayCon"), QStringLiteral("FridayCon"),  QStringLiteral("SaturdayCon")};
    return columns;
}

QString weekTable(int page) {
    if (page < 1 || page > 5) return {};
    return QStringLiteral("tb_") + QChar(u'A' + (page - 1));
}

QString dayKey(const QDate& date) {
    return QStringLiteral("%1%2%3")
        .arg(date.year(), 4, 10, QChar(u'0'))
        .arg(date.month(), 2, 10, QChar(u'0'))
        .arg(date.day(), 2, 10, QChar(u'0'));
}

QDate dateOfKey(const QString& key) {
    if (key.size() != 8) return {};
    for (QChar c : key)
        if (!c.isDigit() || c.unicode() > u'9') return {};
    return QDate(key.left(4).toInt(), key.mid(4, 2).toInt(), key.right(2).toInt());
}

WeekTexts readWeekPage(TDM& dm, int page) {
    if (weekTable(page).isEmpty()) throw NotesError(kDatabaseMisused, "there is no week page " + std::to_string(page));
    Dataset& query = dm.qryData;
    query.Close();
    query.clearParams();
    query.setSQL(weekStatement(page));
    query.Open();
    WeekTexts texts;
    if (query.RecordCount() == 0) return texts;
    for (int i = 0; i < kWeekEditors; ++i) texts[i] = query.blob(weekColumns()[i]);
    return texts;
}

std::optional<WeekTexts> readWeekRow(Connection& connection, int page) {
    if (weekTable(page).isEmpty()) return std::nullopt;
    const QByteArray sql =
        QStringLiteral("select %1 from %2 where ID = 1")
            .arg(QStringList(weekColumns().begin(), weekColumns().end()).join(u", "), weekTable(page))
            .toUtf8();
    Sql row(connection.handle(), sql.constData());
    if (!row.next()) return std::nullopt;
    WeekTexts texts;
    for (int i = 0; i < kWeekEditors; ++i) texts[i] = row.blob(i);
    return texts;
}

bool writeWeekPage(TDM& dm, int page, const WeekTexts& texts) {
    WeekColumnsToWrite columns;
    for (int i = 0; i < kWeekEditors; ++i) columns[i] = NoteToWrite{texts[i], std::nullopt};
    return writeWeekColumns(dm, page, columns);
}

bool writeWeekColumns(TDM& dm, int page, const WeekColumnsToWrite& columns) {
    if (weekTable(page).isEmpty()) return false;
    return savePastTheIndex(dm.AdoCon, [&] { return writeWeekColumnsOnce(dm, page, columns); });
}

std::optional<QByteArray> readDayNote(TDM& dm, const QDate& date) {
    Dataset& query = dm.qryData;
    openDay(query, date);
    if (query.RecordCount() == 0) return std::nullopt;
    return query.blob(QStringLiteral("data"));
}

void writeDayNote(TDM& dm, const QDate& date, const QByteArray& text, const std::optional<QString>& plainText) {
    savePastTheIndex(dm.AdoCon, [&] { return writeDayNoteOnce(dm, date, text, plainText); });
}

QStringList dayNoteKeys(TDM& dm) {
    Dataset& query = dm.qryData;
    query.Close();
    query.clearParams();
    query.setSQL(QStringLiteral(" select conIndex from UserCon order by conIndex "));
    query.Open();
    QStringList keys;
    for (query.First(); !query.Eof(); query.Next()) keys << query.value(QStringLiteral("conIndex")).toString();
    return keys;
}

}  // namespace tavlo::notes
