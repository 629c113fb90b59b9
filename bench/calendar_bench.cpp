// Screen paint of the calendar page at zoom 1.0, as the page's paint handler does it: an off-screen
// bitmap of the panel's size, the main calendar or planner with the cell text pass, the minis.
#include <benchmark/benchmark.h>

#include "calendar/calendar_drawing.h"

using namespace plennix;

namespace {

void PaintPage(benchmark::State& state, TCalendarLayout layout) {
    CalendarSettings s;
    ApplyStoredPageSettings(s, StoredPageKind::DocumentPage);
    s.ResetToDefaults(QDate(1998, 12, 25));
    s.CalendarLayout = layout;
    LayoutResult result = ArrangeLayout(s, true);
    PageDrawState drawState;
    // The rich text engine is not involved here: every cell reports no text.
    CellTextPainter texts{[](int) { return false; }, [](Canvas&, int, const Rect&, float) {}};
    for (auto _ : state) {
        QImage image = PaintToBitmap(s, result, 1.0f, drawState, &texts);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_MonthPage(benchmark::State& state) { PaintPage(state, TCalendarLayout::loFCMinisInTitleLS); }
void BM_SixtyMonthPage(benchmark::State& state) { PaintPage(state, TCalendarLayout::loMC60MonthLS); }
void BM_TwoWeekPlanner(benchmark::State& state) { PaintPage(state, TCalendarLayout::lo2Week); }

}  // namespace

BENCHMARK(BM_MonthPage)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_SixtyMonthPage)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_TwoWeekPlanner)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
