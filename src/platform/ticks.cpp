#include "platform/ticks.h"

#include <QElapsedTimer>

namespace plennix {
namespace {
std::function<uint32_t()> g_source;
}

uint32_t TickCount() {
    if (g_source) return g_source();
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    // Start above zero: a press time of 0 means "none".
    return static_cast<uint32_t>(timer.elapsed()) + 1000;
}

void SetTickSource(std::function<uint32_t()> source) { g_source = std::move(source); }
}  // namespace plennix
