// One undo step on the heaviest page: 42 day cells of rich text with a picture each and 200 placed
// objects. Recording writes the whole document once; undoing reads it back.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QObject>
#include <QRandomGenerator>

#include "app/document_undo.h"
#include "calendar/calendar_panel.h"
#include "richtext/rich_text_editor.h"
#include "richtext/rtf_storage.h"
#include "surface/label.h"

using namespace plennix;

namespace {

// A photograph-like picture (noise does not compress), as a person drops into a cell.
QImage cellPicture(int cell) {
    QImage image(120, 90, QImage::Format_RGB32);
    QRandomGenerator random(static_cast<quint32>(cell));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 2 + cell * 9) % 256, (y * 3) % 256, static_cast<int>(random.bounded(256))));
    return image;
}

struct HeavyPage {
    QObject owner;
    TCalendarPanel32 page;
    TDocumentUndo undo{page};
    HeavyPage() {
        RegisterCalendarObjectClasses();
        page.SetNamingOwner(&owner);
        page.ResetToDefaults();
        TWPRichText editor;
        for (int cell = 1; cell <= 42; ++cell) {
            editor.clear();
            editor.insertPlainText(QStringLiteral("Appointment %1 with the whole team\n").arg(cell));
            editor.InsertPicture(cellPicture(cell));
            editor.insertPlainText(QStringLiteral("\nBring the papers and the plans"));
            TWPRtfStorage store;
            editor.SaveToStorage(store);
            page.SetCellRtf(cell, store);
        }
        for (int i = 0; i < 200; ++i) {
            auto* label = new TGPLabel(&owner);
            label->Loaded();
            label->SetCaption(QStringLiteral("Label number %1").arg(i));
            page.AddObject(label, Rect::fromBounds(10 + (i % 20) * 30, 20 + (i / 20) * 40, 142, 33));
        }
        undo.Reset(true);
    }
};

void BM_RecordStep(benchmark::State& state) {
    HeavyPage doc;
    TGGraphicControl* moved = doc.page.ObjectAt(100);
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        moved->SetBounds(50 + (++step % 50), 60, 142, 33);
        state.ResumeTiming();
        benchmark::DoNotOptimize(doc.undo.Record());
    }
    state.counters["document_bytes"] = static_cast<double>(doc.page.SaveToBytes().size());
}
BENCHMARK(BM_RecordStep)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

void BM_UndoStep(benchmark::State& state) {
    HeavyPage doc;
    doc.page.ObjectAt(100)->SetBounds(77, 60, 142, 33);
    doc.undo.Record();
    for (auto _ : state) {
        doc.undo.Undo();
        state.PauseTiming();
        doc.undo.Redo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoStep)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace
