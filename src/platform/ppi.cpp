#include "platform/ppi.h"

#include <QGuiApplication>
#include <QScreen>
#include <cstdlib>

namespace plennix {
namespace {
int g_ppi = 0;
}

int ScreenPixelsPerInch() {
    if (g_ppi > 0) return g_ppi;
    if (const char* env = std::getenv("PLENNIX_PPI")) {
        int v = std::atoi(env);
        if (v >= 24 && v <= 1200) return g_ppi = v;
    }
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (QScreen* s = app->primaryScreen()) {
            int v = qRound(s->logicalDotsPerInchY());
            if (v >= 24) return g_ppi = v;
        }
    return 96;
}

}  // namespace plennix
