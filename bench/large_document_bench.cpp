// A document of 10,000 text labels: read alone, and read then drawn and written as a PNG image of the
// page (goal: drawing and encoding cost at most half again what reading costs), both as the program does
// them (the page's own render function, the program's PNG writer). The drawing and the encoding alone
// show where the time of the second goes.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QObject>

#include "calendar/calendar_files.h"
#include "calendar/calendar_panel.h"
#include "platform/png_writer.h"
#include "surface/label.h"

using namespace plennix;

namespace {

QByteArray largeDocument() {
    RegisterCalendarObjectClasses();
    QObject owner;
    std::vector<const TGGraphicControl*> labels;
    for (int i = 0; i < 10000; ++i) {
        auto* label = new TGPLabel(&owner);
        label->SetLoading(true);
        label->SetCaption(QStringLiteral("Label %1").arg(i));
        label->SetBounds(10 + (i * 37) % 680, 40 + (i * 53) % 900, 90, 20);
        label->SetLoading(false);
        labels.push_back(label);
    }
    CalendarSettings settings;
    settings.CalendarLayout = TCalendarLayout::loFullCalendar;
    CellStores cells;
    return WriteDocument(settings, cells, labels);
}

const QByteArray& document() {
    static const QByteArray bytes = largeDocument();
    return bytes;
}

// The page a window opens the document on.
struct OpenedPage {
    QObject owner;
    TCalendarPanel32 page;
    OpenedPage() {
        page.SetNamingOwner(&owner);
        page.LoadFromBytes(document(), &owner);
    }
};

void BM_Read10000ObjectDocument(benchmark::State& state) {
    for (auto _ : state) {
        OpenedPage opened;
        benchmark::DoNotOptimize(opened.page.ObjectCount());
    }
}
BENCHMARK(BM_Read10000ObjectDocument)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Read10000ObjectDocumentAndWritePng(benchmark::State& state) {
    for (auto _ : state) {
        OpenedPage opened;
        const QImage image = opened.page.RenderPage();
        QByteArray png;
        EncodePng(image, png);
        benchmark::DoNotOptimize(png.size());
    }
}
BENCHMARK(BM_Read10000ObjectDocumentAndWritePng)->Unit(benchmark::kMillisecond)->Iterations(5);

// The page drawn again: every label already laid out and its caption shaped.
void BM_Draw10000ObjectPageAgain(benchmark::State& state) {
    OpenedPage opened;
    opened.page.RenderPage();
    for (auto _ : state) benchmark::DoNotOptimize(opened.page.RenderPage().width());
}
BENCHMARK(BM_Draw10000ObjectPageAgain)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Encode10000ObjectPagePng(benchmark::State& state) {
    OpenedPage opened;
    const QImage image = opened.page.RenderPage();
    QByteArray png;
    for (auto _ : state) {
        png.clear();
        EncodePng(image, png);
        benchmark::DoNotOptimize(png.size());
    }
    state.counters["bytes"] = static_cast<double>(png.size());
}
BENCHMARK(BM_Encode10000ObjectPagePng)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
