// The page's placed objects painted at zoom 1.0 as the page's paint pass does it: ten floating mini
// calendars and ten rich-text labels, each on the canvas moved to its corner and clipped to its bounds.
// Goal: under 5 ms for the lot.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "objects/flat_calendar.h"
#include "objects/rich_label.h"
#include "platform/canvas.h"
#include "surface/object_host.h"

using namespace plennix;

namespace {

// Argument: 3 paints both kinds (the goal), 1 the calendars alone, 2 the labels alone.
void PaintFloatersAndRichLabels(benchmark::State& state) {
    const bool calendars = state.range(0) & 1, labels = state.range(0) & 2;
    QWidget form;
    TGObjectHost page(&form);
    page.resize(816, 1056);
    for (int i = 0; i < 10; ++i) {
        auto* cal = new TGFlatCalendar(&form);
        cal->SetMonth(i + 1);
        cal->SetYear(2027);
        cal->SetShadowDepth(i % 4);
        cal->SetShadowPosition(static_cast<TFlatShadowPosition>(i % 4));
        cal->SetCellBorderStyle(static_cast<TFlatCalBorderStyle>(i % 5));
        cal->SetLanguage(static_cast<TFlatCalLanguage>(i % 5));
        cal->SetDayNameStyle(static_cast<TFlatCalHeadersStyle>(i % 3));
        if (calendars) cal->SetList(&page.ObjectList());
        cal->SetBounds(20 + (i % 4) * 190, 20 + (i / 4) * 170, 160, 140);

        auto* label = new TGPRichBaseLabel(&form);
        label->Loaded();
        TWPRtfStorage text;
        text.SetRtfData(QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}"
                                   "{\\colortbl;\\red192\\green0\\blue0;}\\pard\\qc\\f1\\fs32\\b Holiday ") +
                        QByteArray::number(i) + "\\b0\\par\\pard\\f0\\fs20\\cf1 Office closed all day\\par}");
        label->SetRTFText(text);
        label->SetTransparent(i % 2 == 0);
        if (labels) label->SetList(&page.ObjectList());
        label->SetBounds(40 + (i % 3) * 250, 560 + (i / 3) * 110, 220, 70);
    }
    QImage image(page.width(), page.height(), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        Canvas canvas(&painter);
        page.PaintObjects(canvas);
        benchmark::DoNotOptimize(image.constBits());
    }
}

}  // namespace

BENCHMARK(PaintFloatersAndRichLabels)->Arg(3)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
