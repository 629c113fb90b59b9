#include "platform/font.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "platform/numbers.h"
#include "platform/ppi.h"

namespace plennix {

namespace {
constexpr int kMaxFontPixels = 4000;
}  // namespace

int PointsToHeight(int points) { return -MulDiv(points, ScreenPixelsPerInch(), 72); }
int HeightToPoints(int height) { return -MulDiv(height, 72, ScreenPixelsPerInch()); }

QFont MakeQFont(const QString& face, int height, FontStyles style, FontPitch pitch) {
    QFont f(face);
    f.setBold(style & fsBold);
    f.setItalic(style & fsItalic);
    f.setUnderline(style & fsUnderline);
    f.setStrikeOut(style & fsStrikeOut);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    if (pitch == FontPitch::fpFixed) f.setFixedPitch(true);
    if (height == 0) height = -13;
    // A damaged record may hold any height; no page needs letters taller than a few thousand pixels.
    height = std::clamp(height, -kMaxFontPixels, kMaxFontPixels);
    int px = std::abs(height);
    if (height > 0) {
        // A positive height is the cell height (ascent + descent): scale the em size to fit it.
        f.setPixelSize(std::max(1, px));
        QFontMetricsF fm(f);
        double cell = fm.ascent() + fm.descent();
        if (cell > 0) px = std::max(1, static_cast<int>(std::lround(px * px / cell)));
    }
    f.setPixelSize(std::max(1, px));
    return f;
}

QFont FontRecord::toQFont() const { return MakeQFont(name, height, style, pitch); }

}  // namespace plennix
