// Reading and writing notes of 100 KB and 1 MB of RTF: as this program writes
// them (\uN for Chinese) and as the Windows rich-edit control writes them
// (GBK bytes as \'hh, a format change every few words).
#include "Rtf.h"
#include "RtfReader.h"

#include <QTextCursor>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

using namespace tavlo::rtf;

// A note of mixed Chinese and ASCII text, a format change every run, a
// paragraph every few runs, until the RTF has about `bytes` bytes.
QTextDocument* makeNote(qsizetype bytes) {
    auto* document = new QTextDocument;
    document->setDefaultFont(QFont(QStringLiteral("宋体")));
    QTextCursor cursor(document);
    const QString pieces[] = {u"今天下午三点开会，"_qs, u"meeting at 3 pm, "_qs, u"记得带上报告和笔记本。"_qs,
                              u"Room 402. "_qs};
    QTextCharFormat formats[4];
    formats[1].setFontWeight(QFont::Bold);
    formats[2].setForeground(QColor(255, 0, 0));
    formats[3].setFontItalic(true);
    formats[3].setFontPointSize(15);
    for (int i = 0; writeRtf(*document).size() < bytes; ++i) {
        for (int k = 0; k < 200; ++k) {
            const int n = i * 200 + k;
            cursor.insertText(pieces[n % 4], formats[(n / 3) % 4]);
            if (n % 7 == 6) cursor.insertBlock();
        }
    }
    return document;
}

QByteArray richEditStyle(qsizetype bytes) {
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052{\\fonttbl{\\f0\\fnil\\fprq2\\fcharset134 "
        "\\'cb\\'ce\\'cc\\'e5;}{\\f1\\fnil\\fcharset0 Arial;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
        "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs30 ";
    const QByteArray line =
        "\\'bd\\'f1\\'cc\\'ec\\'cf\\'c2\\'ce\\'e7\\cf1\\b\\'d6\\'d8\\'d2\\'aa\\cf0\\b0 "
        "\\f1\\fs20 meeting at 3 pm\\f0\\fs30 \\'bb\\'e1\\'d2\\'e9\\'bc\\'c7\\'c2\\'bc\\par\r\n";
    while (rtf.size() < bytes) rtf += line;
    return rtf + "}";
}

// Forty fonts, each of another code page, taking turns every few bytes: each
// run is decoded in a code page of its own.
QByteArray cyclingCodePages(qsizetype bytes) {
    const int codePages[] = {437,  737,  775,  850,   852,   855,   857,   858,   860,   861,   862,   863,  864,  865,
                             866,  869,  874,  932,   936,   949,   950,   1250,  1251,  1252,  1253,  1254, 1255, 1256,
                             1257, 1258, 1361, 10000, 20866, 28591, 28592, 28595, 51932, 51949, 54936, 99999};
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl";
    for (std::size_t i = 0; i < std::size(codePages); ++i)
        rtf += QByteArray("{\\f") + QByteArray::number(i) + "\\cpg" + QByteArray::number(codePages[i]) + " F;}";
    rtf += "}";
    for (int i = 0; rtf.size() < bytes; ++i) rtf += "\\f" + QByteArray::number(i % 40) + " a\\'e9\\'c4 ";
    return rtf + "}";
}

const QByteArray& ourNote(qsizetype bytes) {
    static std::map<qsizetype, QByteArray> notes;
    auto& note = notes[bytes];
    if (note.isEmpty()) {
        std::unique_ptr<QTextDocument> document(makeNote(bytes));
        note = writeRtf(*document);
    }
    return note;
}

void readInto(benchmark::State& state, const QByteArray& rtf) {
    QTextDocument document;
    for (auto _ : state) {
        if (!readRtf(rtf, document)) state.SkipWithError("not read");
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.counters["rtf_bytes"] = static_cast<double>(rtf.size());
}

void BM_ReadOurNote(benchmark::State& state) {
    readInto(state, ourNote(state.range(0)));
}
void BM_ReadRichEditNote(benchmark::State& state) {
    readInto(state, richEditStyle(state.range(0)));
}

// The parser alone, without building the QTextDocument.
void BM_ParseRichEditNote(benchmark::State& state) {
    const QByteArray rtf = richEditStyle(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(parseRtf(rtf));
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

void BM_ParseCyclingCodePages(benchmark::State& state) {
    const QByteArray rtf = cyclingCodePages(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(parseRtf(rtf));
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

void BM_NoteToPlainText(benchmark::State& state) {
    const QByteArray& rtf = ourNote(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(noteToPlainText(rtf));
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

void BM_WriteNote(benchmark::State& state) {
    std::unique_ptr<QTextDocument> document(makeNote(state.range(0)));
    qsizetype written = 0;
    for (auto _ : state) {
        const QByteArray rtf = writeRtf(*document);
        written = rtf.size();
        benchmark::DoNotOptimize(rtf.data());
    }
    state.SetBytesProcessed(state.iterations() * written);
}

constexpr int64_t k100K = 100 * 1024;
constexpr int64_t k1M = 1024 * 1024;

BENCHMARK(BM_ReadOurNote)->Arg(k100K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadRichEditNote)->Arg(k100K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseRichEditNote)->Arg(k100K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseCyclingCodePages)->Arg(k100K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoteToPlainText)->Arg(k100K)->Arg(k1M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteNote)->Arg(k100K)->Arg(k1M)->Unit(benchmark::kMillisecond);

}  // namespace
