#include "app/zoom_steps.h"

namespace plennix {

float PercentToZoom(int percent) {
    if (percent < 30) return 0.2f;
    if (percent >= 100) return 1.0f;
    return static_cast<float>((percent / 10) / 10.0);
}

int ZoomToPercent(float factor) {
    const double f = factor;
    if (f < 0.3) return 20;
    if (f < 0.4) return 30;
    if (f < 0.5) return 40;
    if (f < 0.6) return 50;
    if (f < 0.7) return 60;
    if (f < 0.8) return 70;
    if (f < 0.9) return 80;
    if (f < 1.0) return 90;
    return 100;
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
