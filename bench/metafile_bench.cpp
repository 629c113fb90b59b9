// The metafile player's worst cases within the reader's size bound: one polygon of many points, and many
// line records. A picture must never cost more than its work budget, whatever its records ask for.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstdint>
#include <random>

#include "objects/metafile_player.h"

using namespace plennix;

namespace {

void Put16(QByteArray& b, int v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
void Put32(QByteArray& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.append(char((v >> (8 * i)) & 0xFF));
}

void Record(QByteArray& records, int function, const QByteArray& body) {
    Put32(records, uint32_t(3 + body.size() / 2));
    Put16(records, function);
    records += body;
}

// A placeable WMF of 1000 × 1000 units at 1000 units per inch around the records.
QByteArray Wmf(QByteArray records) {
    Put32(records, 3);
    Put16(records, 0);
    QByteArray h;
    Put16(h, 1);
    Put16(h, 9);
    Put16(h, 0x0300);
    Put32(h, uint32_t((18 + records.size()) / 2));
    Put16(h, 8);
    Put32(h, 64);
    Put16(h, 0);
    QByteArray p;
    Put32(p, 0x9AC6CDD7u);
    Put16(p, 0);
    for (int v : {0, 0, 1000, 1000, 1000}) Put16(p, v);
    Put32(p, 0);
    uint16_t sum = 0;
    for (int i = 0; i < 20; i += 2) sum ^= uint16_t(uchar(p[i]) | (uchar(p[i + 1]) << 8));
    Put16(p, sum);
    return p + h + records;
}

// One filled polygon whose points jump across the whole picture, so that its edges cross each other
// everywhere: the hardest shape to fill.
QByteArray PolygonWmf(int points) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coord(0, 999);
    QByteArray body;
    Put16(body, points);
    for (int i = 0; i < points; ++i) {
        Put16(body, coord(random));
        Put16(body, coord(random));
    }
    QByteArray records;
    Record(records, 0x0324, body);
    return Wmf(records);
}

// Lines from a move to the next point, records × 2 records.
QByteArray LinesWmf(int lines) {
    QByteArray records;
    for (int i = 0; i < lines; ++i) {
        QByteArray to;
        Put16(to, (i * 37) % 1000);
        Put16(to, (i * 11) % 1000);
        Record(records, i % 2 ? 0x0213 : 0x0214, to);
    }
    return Wmf(records);
}

void PlayInto(benchmark::State& state, const QByteArray& bytes, int side = 400) {
    const auto picture = TMetafilePicture::FromBytes(bytes);
    if (!picture) {
        state.SkipWithError("not a metafile");
        return;
    }
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter p(&image);
        picture->Play(p, QRectF(0, 0, side, side));
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_PlayPolygon(benchmark::State& state) { PlayInto(state, PolygonWmf(static_cast<int>(state.range(0)))); }
BENCHMARK(BM_PlayPolygon)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond);

// The same at print size: the filled outlines are longer in device pixels, their budget is not.
void BM_PlayPolygonPrinted(benchmark::State& state) {
    PlayInto(state, PolygonWmf(static_cast<int>(state.range(0))), 2400);
}
BENCHMARK(BM_PlayPolygonPrinted)->Arg(700)->Arg(16000)->Unit(benchmark::kMillisecond);

void BM_PlayLineRecords(benchmark::State& state) { PlayInto(state, LinesWmf(static_cast<int>(state.range(0)))); }
// 3,000,000 records are a 30 MB metafile, just within the reader's bound.
BENCHMARK(BM_PlayLineRecords)->Arg(30000)->Arg(3000000)->Unit(benchmark::kMillisecond);

}  // namespace
