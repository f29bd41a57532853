// The notes' loads and saves: a day note of 100 KB of RTF through the
// database and the RTF code, and a week page of six editors. Then ten years
// of daily notes (3,650 of about 2 KB of RTF): search, the marks of a
// month, and indexing them all anew (an old database's first open).
#include "NoteEditing.h"
#include "NoteSearch.h"
#include "NoteStore.h"
#include "ProgramFolder.h"
#include "Rtf.h"
#include "TempFolder.h"
#include "uDM.h"

#include <QGuiApplication>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

using namespace tavlo;

namespace {

// A note of mixed Chinese and Latin text in several colours and styles,
// grown until its RTF is at least `bytes` long.
void fillNote(QTextDocument& document, qsizetype bytes) {
    QTextCursor cursor(&document);
    const QColor colours[] = {Qt::black, QColor(255, 0, 0), QColor(0, 0, 255), QColor(0, 128, 0)};
    for (int line = 0;; ++line) {
        QTextCharFormat format;
        format.setForeground(colours[line % 4]);
        format.setFontWeight(line % 3 == 0 ? QFont::Bold : QFont::Normal);
        format.setFontItalic(line % 5 == 0);
        cursor.insertText(QStringLiteral("第%1行：今天开会，讨论记事本的保存与加载 meeting notes √ × ").arg(line),
                          format);
        cursor.insertBlock();
        if (line % 50 == 49 && rtf::writeRtf(document).size() >= bytes) return;
    }
}

struct Store {
    test::TempFolder folder;
    TDM dm{ProgramFolder(folder.path())};
};

void BM_DayNoteSave100KB(benchmark::State& state) {
    Store store;
    notes::NoteEditing editing(&store.dm);
    QTextDocument note;
    editing.loadDay(QDate(2010, 6, 1), note);
    fillNote(note, 100 * 1024);
    for (auto _ : state) editing.saveDay(note);
    state.counters["rtf_bytes"] = static_cast<double>(rtf::writeRtf(note).size());
}
BENCHMARK(BM_DayNoteSave100KB)->Unit(benchmark::kMillisecond);

void BM_DayNoteLoad100KB(benchmark::State& state) {
    Store store;
    QTextDocument source;
    fillNote(source, 100 * 1024);
    notes::writeDayNote(store.dm, QDate(2010, 6, 1), rtf::writeRtf(source));
    notes::NoteEditing editing(&store.dm);
    QTextDocument note;
    for (auto _ : state) editing.loadDay(QDate(2010, 6, 1), note);
}
BENCHMARK(BM_DayNoteLoad100KB)->Unit(benchmark::kMillisecond);

// The database alone, without the RTF code: what the store costs.
void BM_DayNoteStoreOnly100KB(benchmark::State& state) {
    Store store;
    const QByteArray bytes(100 * 1024, 'x');
    for (auto _ : state) {
        notes::writeDayNote(store.dm, QDate(2010, 6, 1), bytes);
        benchmark::DoNotOptimize(notes::readDayNote(store.dm, QDate(2010, 6, 1)));
    }
}
BENCHMARK(BM_DayNoteStoreOnly100KB)->Unit(benchmark::kMillisecond);

void BM_WeekPageLoad(benchmark::State& state) {
    Store store;
    std::array<QTextDocument, notes::kWeekEditors> documents;
    notes::WeekTexts texts;
    for (int i = 0; i < notes::kWeekEditors; ++i) {
        fillNote(documents[i], 4 * 1024);
        texts[i] = rtf::writeRtf(documents[i]);
    }
    notes::writeWeekPage(store.dm, 1, texts);
    notes::NoteEditing editing(&store.dm);
    notes::NoteEditing::WeekDocuments pointers;
    for (int i = 0; i < notes::kWeekEditors; ++i) pointers[i] = &documents[i];
    for (auto _ : state) editing.loadWeek(1, pointers);
}
BENCHMARK(BM_WeekPageLoad)->Unit(benchmark::kMillisecond);

// Ten years of daily notes, each about 2 KB of RTF: a few lines of a
// diary, in Chinese and Latin, some coloured; one word in a hundred notes
// only.
struct TenYears {
    test::TempFolder folder;
    std::unique_ptr<TDM> dm = std::make_unique<TDM>(ProgramFolder(folder.path()));
    static constexpr int kDays = 3650;
    const QDate first{2014, 1, 1};

    TenYears() {
        static const QString lines[] = {
            QStringLiteral("早上跑步五公里，天气晴朗，心情不错。"),
            QStringLiteral("上午开会讨论项目进度 meeting with the design team"),
            QStringLiteral("中午和朋友吃饭，聊了很多旧事。"),
            QStringLiteral("下午整理文档，回复邮件 e-mails and reports"),
            QStringLiteral("晚上读书：《平凡的世界》第%1章。"),
        };
        // Made fast: no waits for the disk while the notes are written.
        dm->AdoCon.exec("pragma synchronous = off");
        for (int day = 0; day < kDays; ++day) {
            QTextDocument note;
            QTextCursor cursor(&note);
            while (rtf::writeRtf(note).size() < 2000) {
                QTextCharFormat format;
                if (day % 7 == 0) format.setForeground(QColor(255, 0, 0));
                QString line = lines[(day + note.blockCount()) % 5];
                cursor.insertText(line.replace(QStringLiteral("%1"), QString::number(day % 30 + 1)), format);
                if (day % 100 == 0) cursor.insertText(QStringLiteral(" 稀有词 rareword"));
                cursor.insertBlock();
            }
            notes::writeDayNote(*dm, first.addDays(day), rtf::writeRtf(note), note.toPlainText());
        }
    }
};

TenYears& tenYears() {
    static TenYears notes;
    return notes;
}

// Arg: 0 a word of two Chinese characters in most notes, 1 a rare phrase
// of three, 2 a rare Latin word in another case.
void BM_Search3650Notes(benchmark::State& state) {
    static const QString words[] = {QStringLiteral("开会"), QStringLiteral("稀有词"), QStringLiteral("RAREWORD")};
    TenYears& notes = tenYears();
    const QString& word = words[state.range(0)];
    std::size_t hits = 0;
    for (auto _ : state) hits = notes::searchNotes(notes.dm->AdoCon, word).size();
    state.counters["lines_found"] = static_cast<double>(hits);
}
BENCHMARK(BM_Search3650Notes)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_MonthMarks3650Notes(benchmark::State& state) {
    TenYears& notes = tenYears();
    int month = 0;
    for (auto _ : state) {
        const QDate date = notes.first.addMonths(month++ % 120);
        benchmark::DoNotOptimize(notes::daysWithNotes(notes.dm->AdoCon, date.year(), date.month()));
    }
}
BENCHMARK(BM_MonthMarks3650Notes)->Unit(benchmark::kMicrosecond);

// A database from before the index, opened by the program: every note is
// read and indexed once.
void BM_IndexAnew3650Notes(benchmark::State& state) {
    TenYears& notes = tenYears();
    for (auto _ : state) {
        state.PauseTiming();
        notes.dm->AdoCon.exec("update NoteSearchInfo set version = 0");
        notes.dm = std::make_unique<TDM>(ProgramFolder(notes.folder.path()));
        state.ResumeTiming();
        notes.dm->AdoCon.handle();
    }
}
BENCHMARK(BM_IndexAnew3650Notes)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
