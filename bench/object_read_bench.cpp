// Reading object lists: 10,000 label records onto a page (goal: under 100 ms and 50 MB), and a list of
// 30,000 records, of which only the first kMaxObjectsPerList become objects.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QObject>

#include "surface/label.h"
#include "surface/object_host.h"
#include "surface/object_stream.h"

using namespace plennix;

namespace {

QByteArray labelList(int count) {
    RegisterLabelClasses();
    QObject owner;
    std::vector<const TGGraphicControl*> labels;
    labels.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto* label = new TGPLabel(&owner);
        label->SetLoading(true);
        label->SetCaption(QStringLiteral("Label number %1").arg(i));
        label->SetBounds(10 + i % 600, 10 + i % 800, 120, 30);
        label->SetLoading(false);
        labels.push_back(label);
    }
    QByteArray bytes;
    WriteObjectList(bytes, labels);
    return bytes;
}

void readList(benchmark::State& state, const QByteArray& bytes) {
    TGObjectHost host;
    size_t heapGrowth = 0;
    int objects = 0;
    for (auto _ : state) {
        QObject owner;
        host.SetNamingOwner(&owner);
        const size_t before = mallinfo2().uordblks;
        StreamReader in(bytes);
        objects = static_cast<int>(ReadObjectList(in, &owner, &host.ObjectList(), &owner, false).size());
        state.PauseTiming();
        heapGrowth = std::max(heapGrowth, mallinfo2().uordblks - before);
        // Tearing the objects down is not part of reading.
        for (int i = host.ObjectCount() - 1; i >= 0; --i) host.ObjectAt(i)->SetList(nullptr);
        state.ResumeTiming();
    }
    state.counters["objects"] = objects;
    state.counters["heap_MB"] = static_cast<double>(heapGrowth) / (1024.0 * 1024.0);
    state.counters["file_KB"] = static_cast<double>(bytes.size()) / 1024.0;
}

void BM_Read10000Labels(benchmark::State& state) {
    static const QByteArray bytes = labelList(10000);
    readList(state, bytes);
}
BENCHMARK(BM_Read10000Labels)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Read30000LabelsBounded(benchmark::State& state) {
    static const QByteArray bytes = labelList(30000);
    readList(state, bytes);
}
BENCHMARK(BM_Read30000LabelsBounded)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
