// The notes' loads and saves: a day note of 100 KB of RTF through the
// database and the RTF code, and a week page of six editors.
#include "NoteEditing.h"
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

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
