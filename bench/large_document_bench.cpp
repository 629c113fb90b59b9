// A document of 10,000 text labels: read alone, and read then drawn and written as a PNG image of the
// page (goal: drawing and encoding cost at most half again what reading costs), both as the program does
// them (the page's own render function, the program's PNG writer). The drawing and the encoding alone
// show where the time of the second goes, and the floor shows what drawing the same 30,000 clipped
// texts (each label's shadow, highlight and face) costs any program on this stack with plain QPainter
// calls, the texts shaped beforehand as the labels keep theirs.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QObject>
#include <QPainter>
#include <QStaticText>

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

// The floor: the labels' captions, three copies each at the labels' places, clipped to each label and
// drawn with plain QPainter calls on an image of the page's size, from text shaped before the timing
// (QStaticText), then encoded by the same writer.
void BM_Floor_Draw30000ClippedTextsAndWritePng(benchmark::State& state) {
    OpenedPage opened;
    struct Text {
        QRect bounds;
        QStaticText text;
    };
    std::vector<Text> texts;
    QFont font;
    for (const TGGraphicControl* object : opened.page.Objects()) {
        const auto* label = static_cast<const TGPLabel*>(object);
        font = label->Font().toQFont();
        texts.push_back({QRect(label->Left(), label->Top(), label->Width(), label->Height()),
                         QStaticText(label->Caption())});
        texts.back().text.prepare(QTransform(), font);
    }
    const int width = opened.page.width(), height = opened.page.height();
    for (auto _ : state) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setFont(font);
            const QColor colors[3] = {QColor(128, 128, 128), QColor(255, 255, 0), QColor(0, 0, 0)};
            const QPoint offsets[3] = {QPoint(2, 2), QPoint(-1, -1), QPoint(0, 0)};
            for (const Text& t : texts) {
                painter.setClipRect(t.bounds);
                for (int copy = 0; copy < 3; ++copy) {
                    painter.setPen(colors[copy]);
                    painter.drawStaticText(t.bounds.topLeft() + QPoint(1, 1) + offsets[copy], t.text);
                }
            }
        }
        QByteArray png;
        EncodePng(image, png);
        benchmark::DoNotOptimize(png.size());
    }
}
BENCHMARK(BM_Floor_Draw30000ClippedTextsAndWritePng)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
