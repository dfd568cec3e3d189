// The browser's frames: the game keeps one step per 1/60 s of real time at any display rate,
// and a stall is not followed by a burst.
#include "engine/app/FrameSteps.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace cocos2d;

namespace {
constexpr double kStep = 1.0 / 60;
constexpr int kMost = 3;

// Ten seconds of a display at `hz`, its timestamps off by up to `jitter` seconds either way.
struct Shown {
    int total = 0, most = 0, least = 1 << 20;
};
Shown display(double hz, double jitter) {
    FrameSteps steps(kStep, kMost);
    Shown run;
    const int frames = static_cast<int>(10 * hz);
    for (int i = 0; i <= frames; ++i) {
        const double wobble = jitter * ((i * 7919 % 13) / 6.0 - 1);
        const int n = steps.stepsAt(100 + i / hz + (i == 0 || i == frames ? 0 : wobble));
        if (i == 0) continue;
        run.total += n;
        run.most = std::max(run.most, n);
        run.least = std::min(run.least, n);
    }
    return run;
}
} // namespace

TEST(FrameSteps, KeepsTheGameSpeedAtAnyDisplayRate) {
    for (double hz : {30.0, 60.0, 120.0, 144.0, 75.0}) {
        const Shown run = display(hz, 0.002);
        EXPECT_NEAR(run.total, 600, 1) << hz << " Hz";
        EXPECT_LE(run.most, hz < 60 ? 2 : 1) << hz << " Hz";
    }
    // A 60 Hz display with jittering timestamps steps once every frame, never 0 then 2.
    const Shown even = display(60, 0.003);
    EXPECT_EQ(even.least, 1);
    EXPECT_EQ(even.most, 1);
}

TEST(FrameSteps, DropsWhatAStallOwesAndRestartsClean) {
    FrameSteps steps(kStep, kMost);
    steps.stepsAt(1.0);
    EXPECT_EQ(steps.stepsAt(1.0 + kStep), 1);
    EXPECT_EQ(steps.stepsAt(2.5), kMost);
    EXPECT_EQ(steps.stepsAt(2.5 + kStep), 1);
    // A pause: what passed until the next frame is not game time, whatever its length.
    steps.restart();
    EXPECT_EQ(steps.stepsAt(9.0), 1);
    EXPECT_EQ(steps.stepsAt(9.0 + kStep / 2), 0);
    EXPECT_EQ(steps.stepsAt(9.0 + kStep), 1);
}
