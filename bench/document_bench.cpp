// Saving and loading a document with text in all 42 cells and 20 text labels.
#include <benchmark/benchmark.h>

#include <QObject>

#include "calendar/calendar_files.h"
#include "calendar/calendar_panel.h"
#include "surface/label.h"
#include "surface/object_stream.h"

using namespace plennix;

namespace {

struct Document {
    QObject owner;
    TCalendarPanel32 page;
    Document() {
        page.SetNamingOwner(&owner);
        page.ResetToDefaults();
        for (int cell = 1; cell <= 42; ++cell) {
            TWPRtfStorage text;
            text.SetRtfData(QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red200\\green0\\blue0;}"
                                       "\\f0\\fs20 Appointment ") +
                            QByteArray::number(cell) + "\\par\\cf1\\b Bring the papers\\par}");
            page.SetCellRtf(cell, text);
        }
        for (int i = 0; i < 20; ++i) {
            auto* label = new TGPLabel(&owner);
            label->Loaded();
            label->SetCaption(QStringLiteral("Label number %1").arg(i));
            page.AddObject(label, Rect::fromBounds(20 + i * 30, 40 + i * 20, 142, 33));
        }
    }
};

void BM_SaveAndLoadDocument(benchmark::State& state) {
    Document source;
    std::vector<const TGGraphicControl*> objects(source.page.Objects().begin(), source.page.Objects().end());
    QObject owner;
    TGObjectList host;
    CalendarSettings settings;
    CellStores cells;
    for (auto _ : state) {
        const QByteArray bytes = WriteDocument(source.page.Settings(), source.page.Cells(), objects);
        StreamReader reader(bytes);
        ReadDocument(reader, settings, cells, &owner, &host, &owner);
        state.PauseTiming();
        qDeleteAll(owner.findChildren<TGGraphicControl*>(Qt::FindDirectChildrenOnly));
        state.ResumeTiming();
        benchmark::DoNotOptimize(bytes.size());
    }
}
BENCHMARK(BM_SaveAndLoadDocument)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
