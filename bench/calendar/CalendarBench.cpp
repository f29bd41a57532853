// Costs of the calendar control at the main window's size, 419 × 255, on
// the offscreen platform.
#include "ChnCalendarPicker.h"
#include "DateTimeValue.h"
#include "FontSubstitutions.h"
#include "MonthModel.h"
#include "ProgramHolidays.h"
#include "SpinButton.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

using tavlo::TChnCalendar;
using tavlo::lunar::EncodeDate;

std::unique_ptr<TChnCalendar> makeCalendar() {
    auto control = std::make_unique<TChnCalendar>();
    control->resize(419, 255);
    control->setDateTime(EncodeDate(2024, 5, 15));
    control->show();
    QApplication::processEvents();
    return control;
}

// The month's data alone: one analysis for the date and one per day, and
// (argument 1) each day's look-up in the holiday table.
void BM_MonthModelRebuild(benchmark::State& state) {
    tavlo::lunar::TChnCal engine;
    tavlo::calendar::TMonthModel model;
    const tavlo::holidays::HolidayTable holidays = tavlo::holidays::builtInHolidays();
    const tavlo::holidays::HolidayTable* table = state.range(0) ? &holidays : nullptr;
    const double dates[] = {EncodeDate(2024, 5, 15), EncodeDate(2024, 1, 15)};
    int k = 0;
    for (auto _ : state) {
        model.Rebuild(engine, dates[k ^= 1], {}, table);
        benchmark::DoNotOptimize(model.Cells[20].CnText.data());
    }
}
BENCHMARK(BM_MonthModelRebuild)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// RebuildMonth as the control runs it: the month, the title, the current
// cell and the background composition (painting waits for the event loop).
void BM_RebuildMonth(benchmark::State& state) {
    auto control = makeCalendar();
    const double dates[] = {EncodeDate(2024, 5, 15), EncodeDate(2024, 6, 15)};
    int k = 0;
    for (auto _ : state) control->setDateTime(dates[k ^= 1]);
}
BENCHMARK(BM_RebuildMonth)->Unit(benchmark::kMicrosecond);

void BM_FullPaint(benchmark::State& state) {
    auto control = makeCalendar();
    QImage target(control->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        control->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMicrosecond);

// One click on the month spin: rebuild, composition and a repaint.
void BM_MonthStep(benchmark::State& state) {
    auto control = makeCalendar();
    auto* spin = control->findChild<tavlo::calendar::TSpinButton*>(QStringLiteral("MonthSpin"));
    QImage target(control->size(), QImage::Format_RGB32);
    int direction = 1;
    for (auto _ : state) {
        spin->step(direction = -direction);
        control->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_MonthStep)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    tavlo::widgets::registerFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
