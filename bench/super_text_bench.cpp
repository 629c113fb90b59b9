// Screen paint of a page holding ten SuperText objects of one surface type (and of all four) at zoom
// 1.0, as the page's paint pass does it: each object with the canvas at its corner, clipped to its
// bounds. The goal is under 5 ms for a page of ten.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

#include "objects/super_text.h"
#include "platform/canvas.h"
#include "surface/object_host.h"

using namespace plennix;

namespace {

QImage Texture() {
    QImage tex(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) tex.setPixelColor(x, y, QColor(120 + (x * 3) % 90, 80 + (y * 5) % 60, 40));
    return tex;
}

void PaintPage(benchmark::State& state, const std::vector<TSurfaceType>& types, bool changeEachTime = false) {
    TGObjectHost host;
    host.resize(1056, 816);
    std::vector<std::unique_ptr<TGSuperText>> objects;
    const QImage tex = Texture();
    int n = 0;
    for (TSurfaceType type : types)
        for (int i = 0; i < 10; ++i, ++n) {
            auto t = std::make_unique<TGSuperText>();
            t->SetCaption(QStringLiteral("Holiday %1").arg(n));
            t->SetSurfaceType(type);
            if (type == stBrushImage) t->SetImage(tex);
            t->SetShadowDepth(4);
            t->SetOutlineWidth(2);
            t->SetBounds(20 + (n % 3) * 340, 20 + (n / 3) * 60, 320, 80);
            t->SetList(&host.ObjectList());
            objects.push_back(std::move(t));
        }
    QImage page(1056, 816, QImage::Format_RGB32);
    int round = 0;
    for (auto _ : state) {
        // A change to every object makes each paint draw the glyphs again instead of copying the kept
        // picture: the cost of the first paint and of every edit.
        if (changeEachTime) {
            ++round;
            for (auto& t : objects) t->SetShadowcolor(round % 2 ? 0x808080 : 0x707070);
        }
        page.fill(Qt::white);
        QPainter painter(&page);
        Canvas canvas(&painter);
        host.PaintObjects(canvas);
        benchmark::DoNotOptimize(page.constBits());
    }
}

void BM_TenNormal(benchmark::State& s) { PaintPage(s, {stNormal}); }
void BM_TenTransparent(benchmark::State& s) { PaintPage(s, {stBrushTransparent}); }
void BM_TenTexture(benchmark::State& s) { PaintPage(s, {stBrushImage}); }
void BM_TenGradient(benchmark::State& s) { PaintPage(s, {stGradientFill}); }
void BM_TenOfEachType(benchmark::State& s) { PaintPage(s, {stNormal, stBrushTransparent, stBrushImage, stGradientFill}); }
void BM_TenOfEachTypeRedrawn(benchmark::State& s) {
    PaintPage(s, {stNormal, stBrushTransparent, stBrushImage, stGradientFill}, true);
}

}  // namespace

BENCHMARK(BM_TenNormal)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_TenTransparent)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_TenTexture)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_TenGradient)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_TenOfEachType)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_TenOfEachTypeRedrawn)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
