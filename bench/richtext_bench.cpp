// The rich text engine's costs on a month page: painting 42 cell texts into their cells, first with the
// stores' cached documents (every repaint after the first) and then parsing each text as well; and reading
// plus writing a 10 KB RTF text.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <vector>

#include "richtext/rtf_reader.h"
#include "richtext/rtf_renderer.h"
#include "richtext/rtf_writer.h"

using namespace plennix;

namespace {

constexpr int kCellWidth = 120;
constexpr int kCellHeight = 90;

// About five lines in a cell: a bold title, a line of plain text that wraps, and a coloured note.
RtfText CellText(int day) {
    RtfText t;
    RtfParagraph title;
    title.alignment = RtfAlignment::raCenter;
    title.runs.push_back({RtfCharFormat{"Arial", 20, fsBold, kAutoTextColor}, "Day " + QString::number(day), nullptr});
    RtfParagraph body;
    body.runs.push_back({RtfCharFormat{"Arial", 16, 0, kAutoTextColor}, "Dentist at ten, then lunch with", nullptr});
    body.runs.push_back({RtfCharFormat{"Arial", 16, fsItalic, clBlue}, " Anna and Tom", nullptr});
    RtfParagraph note;
    note.runs.push_back({RtfCharFormat{"Times New Roman", 16, fsUnderline, clRed}, "Pay rent", nullptr});
    t.paragraphs = {title, body, note};
    return t;
}

std::vector<TWPRtfStorage> MonthStores() {
    std::vector<TWPRtfStorage> stores(42);
    for (int i = 0; i < 42; ++i) stores[i].SetRtfData(WriteRtf(CellText(i + 1)));
    return stores;
}

// The calendar's cell text pass: a white scratch bitmap per cell, the text painted into it, the bitmap
// copied onto the page.
void PaintMonth(QImage& page, const std::vector<TWPRtfStorage>& stores, TWPRtfRenderer& renderer) {
    QPainter pagePainter(&page);
    QImage scratch(kCellWidth, kCellHeight, QImage::Format_RGB32);
    for (int i = 0; i < 42; ++i) {
        if (stores[i].IsEmpty()) continue;
        scratch.fill(Qt::white);
        {
            QPainter p(&scratch);
            renderer.SetZoomPercent(100);
            renderer.SetPageSize(PixelsToTwips(kCellWidth), PixelsToTwips(kCellHeight));
            renderer.LoadFrom(stores[i]);
            renderer.Paint(&p, kCellWidth, kCellHeight);
        }
        pagePainter.drawImage((i % 7) * kCellWidth, (i / 7) * kCellHeight, scratch);
    }
}

void BM_PaintMonthCells(benchmark::State& state) {
    const auto stores = MonthStores();
    QImage page(7 * kCellWidth, 6 * kCellHeight, QImage::Format_RGB32);
    TWPRtfRenderer renderer;
    PaintMonth(page, stores, renderer);  // the first paint parses and lays out
    for (auto _ : state) {
        PaintMonth(page, stores, renderer);
        benchmark::DoNotOptimize(page.constBits());
    }
}
BENCHMARK(BM_PaintMonthCells)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ParseAndPaintMonthCells(benchmark::State& state) {
    std::vector<QByteArray> rtf;
    for (int i = 0; i < 42; ++i) rtf.push_back(WriteRtf(CellText(i + 1)));
    QImage page(7 * kCellWidth, 6 * kCellHeight, QImage::Format_RGB32);
    TWPRtfRenderer renderer;
    for (auto _ : state) {
        std::vector<TWPRtfStorage> stores(42);
        for (int i = 0; i < 42; ++i) stores[i].SetRtfData(rtf[i]);
        PaintMonth(page, stores, renderer);
        benchmark::DoNotOptimize(page.constBits());
    }
}
BENCHMARK(BM_ParseAndPaintMonthCells)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

QByteArray TenKilobytes() {
    RtfText t;
    t.paragraphs.clear();
    const QString words = QString::fromUtf8("Grüße zum Geburtstag, viel Glück im neuen Lebensjahr! ");
    int i = 0;
    QByteArray rtf;
    while ((rtf = WriteRtf(t)).size() < 10 * 1024) {
        RtfParagraph p;
        p.alignment = static_cast<RtfAlignment>(i % 4);
        p.runs.push_back({RtfCharFormat{"Arial", 20, 0, kAutoTextColor}, words, nullptr});
        p.runs.push_back({RtfCharFormat{"Arial", 24, fsBold, clRed}, "wichtig ", nullptr});
        p.runs.push_back({RtfCharFormat{"Times New Roman", 20, fsItalic, clBlue}, words, nullptr});
        t.paragraphs.push_back(p);
        ++i;
    }
    return rtf;
}

void BM_ReadWrite10K(benchmark::State& state) {
    const QByteArray rtf = TenKilobytes();
    for (auto _ : state) {
        const RtfText t = ReadRtf(rtf);
        const QByteArray out = WriteRtf(t);
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ReadWrite10K)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Read10K(benchmark::State& state) {
    const QByteArray rtf = TenKilobytes();
    for (auto _ : state) benchmark::DoNotOptimize(ReadRtf(rtf).paragraphs.size());
}
BENCHMARK(BM_Read10K)->Unit(benchmark::kMicrosecond);

void BM_Write10K(benchmark::State& state) {
    const RtfText t = ReadRtf(TenKilobytes());
    for (auto _ : state) benchmark::DoNotOptimize(WriteRtf(t).size());
}
BENCHMARK(BM_Write10K)->Unit(benchmark::kMicrosecond);

// A cell whose one paragraph alternates italic and bold on every letter with no space between them: one
// word of that many format runs, 8 bytes of RTF each (40,000 runs is a 320 KB text). Laying it out must
// grow with the number of runs, not with its square.
QByteArray ManyRuns(int runs) {
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    for (int i = 0; i < runs; ++i) rtf += (i % 2) ? "\\b w\\b0 " : "\\i w\\i0 ";
    rtf += "}";
    return rtf;
}

void BM_ParseLayOutPaintManyRuns(benchmark::State& state) {
    const QByteArray rtf = ManyRuns(static_cast<int>(state.range(0)));
    QImage cell(kCellWidth, kCellHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        TWPRtfStorage store;
        store.SetRtfData(rtf);
        QPainter p(&cell);
        PaintRtf(&p, store, kCellWidth, kCellHeight, 100, PixelsToTwips(kCellWidth));
        benchmark::DoNotOptimize(cell.constBits());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseLayOutPaintManyRuns)
    ->RangeMultiplier(4)
    ->Range(2500, 40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

}  // namespace
