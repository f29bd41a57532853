// Time to a usable "日历记事" window when the day's note is huge: from the
// menu command until the window is shown and painted whole, editors
// included. Arg: 0 the largest note given to the editor whole (RTF of many
// paragraphs, just under the preview size), 1 one line of 1 MB of plain
// text, 2 RTF of 10 MB, 3 one line of 10 MB.
#include "NoteEditing.h"
#include "NoteStore.h"
#include "OffscreenApplication.h"
#include "Program.h"
#include "Rtf.h"
#include "TempFolder.h"
#include "uDM.h"
#include "uMain.h"
#include "uNotesFrm.h"

#include <QAction>
#include <QDateTime>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <memory>

using namespace tavlo;

namespace {

// Program-written RTF of mixed text in many paragraphs, at most `bytes`.
QByteArray rtfNote(qsizetype bytes) {
    QString text;
    for (int line = 0; text.size() * 4 < bytes; ++line)
        text += QStringLiteral("第%1行：今天开会，讨论记事本的保存与加载 meeting notes √ ×\n").arg(line);
    QTextDocument document;
    document.setPlainText(text);
    QByteArray rtf = rtf::writeRtf(document);
    while (rtf.size() > bytes) {
        text.chop(text.size() / 20);
        document.setPlainText(text);
        rtf = rtf::writeRtf(document);
    }
    return rtf;
}

QByteArray noteOfCase(int which) {
    switch (which) {
    case 0: return rtfNote(notes::kEditableNoteBytes);
    case 1: return QByteArray(1024 * 1024, 'x');
    case 2: {
        QByteArray rtf = rtfNote(1024 * 1024);
        QByteArray body = rtf.mid(rtf.indexOf("\\par"));
        body.chop(1);
        QByteArray large = rtf.left(rtf.size() - 1);
        while (large.size() < 10 * 1024 * 1024) large += body;
        return large + '}';
    }
    default: return QByteArray(10 * 1024 * 1024, 'x');
    }
}

void BM_NotesWindowWithHugeNote(benchmark::State& state) {
    const QByteArray note = noteOfCase(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        test::TempFolder folder;
        GlobalState global{ProgramFolder(folder.path())};
        const QDate today = QDateTime::fromSecsSinceEpoch(global.clock()).date();
        TDM dm(global.folder);
        notes::writeDayNote(dm, today, note);
        auto main = std::make_unique<app::TMainFrm>(global);
        main->attachDataModule(&dm);
        auto* open = main->findChild<QAction*>(QStringLiteral("N_CalNotes"));
        state.ResumeTiming();

        open->trigger();
        auto* window = main->findChild<notesui::TNotesFrm*>();
        if (!QTest::qWaitForWindowExposed(window)) state.SkipWithError("the window did not show");
        benchmark::DoNotOptimize(window->grab());

        state.PauseTiming();
        window->close();
        main.reset();
        state.ResumeTiming();
    }
    state.counters["note_MB"] = note.size() / (1024.0 * 1024.0);
}
BENCHMARK(BM_NotesWindowWithHugeNote)->DenseRange(0, 3)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    app::prepareApplication();
    test::OffscreenApplication application(argc, argv, 1920, 1080);
    app::initialiseApplication();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
