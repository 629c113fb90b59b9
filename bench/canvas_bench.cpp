// The Canvas's cost for the cells of a month page: for each of 42 cells a clip, a framed white box and
// a right-aligned bold day number, as the calendar draws them. Goal: under 20 ms per month page.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "platform/canvas.h"
#include "platform/colors.h"
#include "platform/rect.h"

using namespace plennix;

namespace {

void BM_CanvasMonthOfCells(benchmark::State& state) {
    QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    Canvas c(&painter);
    for (auto _ : state) {
        for (int i = 0; i < 42; ++i) {
            const Rect cell = Rect::fromBounds((i % 7) * 110, (i / 7) * 95, 110, 95);
            c.Save();
            c.IntersectClipRect(cell);
            c.SetPen(clBlack);
            c.SetBrush(clWhite);
            c.Rectangle(cell);
            c.SetFont(QStringLiteral("Arial"), -14, fsBold, clBlack);
            c.DrawText(QString::number(i + 1), cell, DT_SINGLELINE | DT_RIGHT | DT_NOPREFIX);
            c.Restore();
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_CanvasMonthOfCells)->Unit(benchmark::kMillisecond);

}  // namespace
