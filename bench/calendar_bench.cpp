// Screen paint of the calendar page at zoom 1.0, as the page's paint handler does it: an off-screen
// bitmap of the panel's size, the main calendar or planner with the cell text pass (text in every
// cell), the minis.
#include <benchmark/benchmark.h>

#include "calendar/calendar_drawing.h"
#include "calendar/cell_texts.h"
#include "richtext/rtf_renderer.h"

using namespace plennix;

namespace {

// About five lines of formatted text, as a person types into a day cell.
CellStores FilledCells() {
    CellStores cells;
    for (int i = 0; i < kCellCount; ++i)
        cells[i].SetRtfData(QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}"
                                       "{\\colortbl;\\red192\\green0\\blue0;}\\f0\\fs16 Meeting ") +
                            QByteArray::number(i) +
                            "\\par\\b Dentist\\b0\\par\\cf1 Birthday\\cf0\\par\\f1\\i Call home\\i0\\par Pay rent\\par}");
    return cells;
}

void PaintPage(benchmark::State& state, TCalendarLayout layout, bool withTexts) {
    CalendarSettings s;
    ApplyStoredPageSettings(s, StoredPageKind::DocumentPage);
    s.ResetToDefaults(QDate(1998, 12, 25));
    s.CalendarLayout = layout;
    LayoutResult result = ArrangeLayout(s, true);
    PageDrawState drawState;
    const CellStores cells = withTexts ? FilledCells() : CellStores{};
    TWPRtfRenderer renderer;
    const CellTextPainter texts = MakeCellTextPainter(cells, renderer);
    for (auto _ : state) {
        QImage image = PaintToBitmap(s, result, 1.0f, drawState, &texts);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_MonthPage(benchmark::State& state) { PaintPage(state, TCalendarLayout::loFCMinisInTitleLS, true); }
void BM_SixtyMonthPage(benchmark::State& state) { PaintPage(state, TCalendarLayout::loMC60MonthLS, false); }
void BM_TwoWeekPlanner(benchmark::State& state) { PaintPage(state, TCalendarLayout::lo2Week, true); }

}  // namespace

BENCHMARK(BM_MonthPage)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_SixtyMonthPage)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_TwoWeekPlanner)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
