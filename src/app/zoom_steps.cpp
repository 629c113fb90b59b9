#include "app/zoom_steps.h"

#include "platform/numbers.h"

namespace plennix {

float PercentToZoom(int percent) {
    if (percent < 30) return 0.2f;
    if (percent >= 100) return 1.0f;
    return static_cast<float>((percent / 10) / 10.0);
}

int ZoomToPercent(float factor) {
    // The percent the caption shows (rounded), not the float's exact value: a factor stepped down from
    // 1.0 to 0.59999990 is the 60 % the person sees, and PercentToZoom brings it back as 60 %.
    const int shown = roundHalfEven(static_cast<double>(factor) * 100.0);
    if (shown < 30) return 20;
    if (shown >= 100) return 100;
    return shown / 10 * 10;
}

// The limits are compared against the stored 4-byte value promoted exactly; the new factor is
// rounded to 4 bytes. From 1.0 the steps down therefore end at a 0.6 that lies just below 0.6.
float ZoomInStep(float factor) {
    if (static_cast<double>(factor) <= 0.95) return static_cast<float>(static_cast<double>(factor) + 0.1);
    return factor;
}

float ZoomOutStep(float factor) {
    if (static_cast<double>(factor) <= 0.6) return factor;
    return static_cast<float>(static_cast<double>(factor) - 0.1);
}

}  // namespace plennix
