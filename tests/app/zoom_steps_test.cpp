// The zoom buttons work on a 4-byte factor; their limits depend on exactly which float is stored.
#include <gtest/gtest.h>

#include "app/zoom_steps.h"

using namespace plennix;

TEST(ZoomSteps, StepsDownFromOneStopAtTheComputedSixTenths) {
    float f = 1.0f;
    int steps = 0;
    for (;;) {
        const float next = ZoomOutStep(f);
        if (next == f) break;
        f = next;
        ++steps;
    }
    EXPECT_EQ(steps, 4);  // 0.9, 0.8, 0.7, then a 0.6 just below 0.6
    EXPECT_LT(static_cast<double>(f), 0.6);
    EXPECT_EQ(ZoomToPercent(f), 50);
}

TEST(ZoomSteps, PreferenceSixtyAllowsOneStepDown) {
    const float f = PercentToZoom(60);
    EXPECT_GT(static_cast<double>(f), 0.6);
    const float down = ZoomOutStep(f);
    EXPECT_NE(down, f);
    EXPECT_EQ(ZoomToPercent(down), 50);
    EXPECT_EQ(ZoomOutStep(down), down);
}

TEST(ZoomSteps, StepsUpStopAtAboutOne) {
    float f = PercentToZoom(20);
    EXPECT_FLOAT_EQ(f, 0.2f);
    EXPECT_EQ(ZoomOutStep(f), f);  // below 0.6: no zooming out
    for (int i = 0; i < 20; ++i) f = ZoomInStep(f);
    EXPECT_NEAR(f, 1.0, 1e-5);
    EXPECT_EQ(ZoomToPercent(ZoomInStep(f)), 100);
}

TEST(ZoomSteps, PercentTable) {
    EXPECT_FLOAT_EQ(PercentToZoom(29), 0.2f);
    EXPECT_FLOAT_EQ(PercentToZoom(35), 0.3f);
    EXPECT_FLOAT_EQ(PercentToZoom(99), 0.9f);
    EXPECT_FLOAT_EQ(PercentToZoom(150), 1.0f);
    EXPECT_EQ(ZoomToPercent(0.25f), 20);
    EXPECT_EQ(ZoomToPercent(1.2f), 100);
}
