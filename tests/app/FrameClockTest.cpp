#include "app/FrameClock.h"

#include <climits>
#include <gtest/gtest.h>

TEST(FrameClock, StepAndClamp) {
    struct Case {
        int last, now;   // milliseconds
        double seconds;  // expected step
        bool clamped;
    };
    const Case cases[] = {
        {1000, 1000, 0.0, false},          // two frames in one millisecond
        {1000, 1016, 16 * 0.001, false},
        {1000, 1120, 120 * 0.001, false},  // exactly 120 ms is not a clamp
        {1000, 1121, 0.12, true},
        {0, 5000, 0.12, true},             // the first frame after a slow start-up
        {1000, 999, 0.12, true},           // a clock running backwards
        {INT_MAX - 5, INT_MIN + 4, 10 * 0.001, false},  // across the 32-bit wrap
    };
    for (const Case& c : cases) {
        const FrameStep step = frameStep(c.last, c.now);
        EXPECT_EQ(step.seconds, c.seconds) << c.last << " -> " << c.now;
        EXPECT_EQ(step.clamped, c.clamped) << c.last << " -> " << c.now;
    }
}
