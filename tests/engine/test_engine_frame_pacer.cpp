// The main loop's pace on a fake clock: vsync where the display refreshes at the game's rate and
// keeps it, a timed loop to absolute deadlines everywhere else, and never a frame too soon.
#include "engine/app/FramePacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using cocos2d::FramePacer;

namespace {

constexpr double kInterval = 1.0 / 60;

// Time moves only when a frame works, a present waits or the loop sleeps.
class FakeClock : public FramePacer::Clock {
  public:
    double now() override { return t; }
    void sleepUntil(double when) override {
        ++sleeps;
        t = std::max(t, when) + oversleep;
    }
    double t = 100;
    double oversleep = 0;
    int sleeps = 0;
};

// A display for the loop: a present with vsync on waits for the next refresh of `period` (0:
// a driver that ignores vsync), and returns at once with vsync off.
struct Display {
    double period = 0;
    double presentCost = 0.0002;
    void present(FakeClock& clock, bool vsync) const {
        clock.t += presentCost;
        if (vsync && period > 0) clock.t = std::ceil(clock.t / period) * period;
    }
};

class PacerTest : public ::testing::Test {
  protected:
    FakeClock clock;
    Display display;
    std::vector<bool> vsyncCalls;
    FramePacer pacer{clock, kInterval, [this](bool on) { vsyncCalls.push_back(on); }};
    std::vector<double> starts; // when each frame began
    std::vector<double> dts;    // the game time each frame was given

    // One loop iteration: begin, work, present, wait.
    void frame(double work = 0.004) {
        starts.push_back(clock.t);
        dts.push_back(pacer.beginFrame());
        clock.t += work;
        display.present(clock, pacer.vsync());
        pacer.endFrame();
    }
    void frames(int n, double work = 0.004) {
        for (int i = 0; i < n; ++i)
            frame(work);
    }
    // The shortest gap between two frame starts from frame `from` on.
    double shortestGap(std::size_t from = 1) const {
        double gap = 1e9;
        for (std::size_t i = std::max<std::size_t>(from, 1); i < starts.size(); ++i)
            gap = std::min(gap, starts[i] - starts[i - 1]);
        return gap;
    }
};

} // namespace

TEST_F(PacerTest, VsyncOnlyWhereTheDisplayRefreshesAtTheGamesRate) {
    struct Case {
        double hz;
        bool vsync;
    };
    for (const Case c : {Case{60, true}, Case{59.94, true}, Case{59, true}, Case{61, true}, Case{58.9, false},
                         Case{61.2, false}, Case{0, false}, Case{50, false}, Case{75, false},
                         Case{120, false}, Case{144, false}, Case{30, false}}) {
        FramePacer fresh(clock, kInterval, nullptr);
        fresh.setRefreshRate(c.hz);
        EXPECT_EQ(c.vsync, fresh.vsync()) << c.hz << " Hz";
    }
}

TEST_F(PacerTest, TellsTheViewOnlyWhenItsMindChanges) {
    pacer.setRefreshRate(0);
    EXPECT_TRUE(vsyncCalls.empty()) << "vsync starts off";
    pacer.setRefreshRate(60);
    pacer.setRefreshRate(60);
    pacer.setRefreshRate(59.9);
    EXPECT_EQ(std::vector<bool>{true}, vsyncCalls);
    pacer.setRefreshRate(144); // the window moved to another monitor
    EXPECT_EQ((std::vector<bool>{true, false}), vsyncCalls);
}

TEST_F(PacerTest, TimedFramesStartOnAbsoluteDeadlines) {
    pacer.setRefreshRate(0);
    frames(10, 0.005);
    for (std::size_t i = 0; i < starts.size(); ++i)
        EXPECT_NEAR(starts[0] + static_cast<double>(i) * kInterval, starts[i], 1e-9) << "frame " << i;
    EXPECT_EQ(10, clock.sleeps);
    EXPECT_NEAR(kInterval, dts.back(), 1e-9);
}

TEST_F(PacerTest, NoDriftOverTenSecondsWithLateWakeUpsAndUnevenWork) {
    pacer.setRefreshRate(0);
    std::mt19937 random(5);
    std::uniform_real_distribution<double> work(0.0005, 0.014), late(0.0, 0.0008);
    for (int i = 0; i < 601; ++i) {
        clock.oversleep = late(random);
        frame(work(random));
    }
    // Frame 600 starts ten seconds after frame 0, give or take one wake-up's lateness.
    const double tenSeconds = starts[600] - starts[0];
    EXPECT_NEAR(10.0, tenSeconds, 0.001);
    EXPECT_LT(std::abs(tenSeconds - 10.0) / 10.0, 0.005);
    double sum = 0;
    for (std::size_t i = 1; i < dts.size(); ++i)
        sum += dts[i];
    EXPECT_NEAR(tenSeconds, sum, 1e-6) << "game time is the time that passed";
}

TEST_F(PacerTest, ALateFrameIsNotCaughtUp) {
    pacer.setRefreshRate(0);
    frames(5);
    frame(0.040); // a hitch: the frame takes two and a half intervals
    const std::size_t late = starts.size() - 1;
    frames(5);
    // The frame after the hitch starts at once, and the one after that a whole interval later:
    // no burst of short frames to win the lost time back.
    EXPECT_NEAR(starts[late] + 0.040 + display.presentCost, starts[late + 1], 1e-9);
    EXPECT_NEAR(kInterval, starts[late + 2] - starts[late + 1], 1e-9);
    EXPECT_GE(shortestGap(), kInterval - 1e-9);
    EXPECT_NEAR(0.040 + display.presentCost, dts[late + 1], 1e-9) << "the hitch is game time";
}

TEST_F(PacerTest, AStallIsCappedAndAPauseIsNotGameTime) {
    pacer.setRefreshRate(0);
    frames(3);
    frame(2.0);
    EXPECT_DOUBLE_EQ(FramePacer::kMaxFrameTime, pacer.beginFrame());
    pacer.endFrame();
    clock.t += 30; // minimised
    pacer.restart();
    EXPECT_DOUBLE_EQ(kInterval, pacer.beginFrame());
    pacer.endFrame();
    frames(3);
    EXPECT_NEAR(kInterval, dts.back(), 1e-9);
}

TEST_F(PacerTest, FastDisplaysDoNotSpeedTheGameUp) {
    for (double hz : {120.0, 144.0, 240.0}) {
        FramePacer fast(clock, kInterval, nullptr);
        fast.setRefreshRate(hz);
        ASSERT_FALSE(fast.vsync()) << hz;
        const double begin = clock.t;
        int n = 0;
        while (clock.t - begin < 10.0 - kInterval / 2) {
            fast.beginFrame();
            clock.t += 0.002;
            fast.endFrame();
            ++n;
        }
        EXPECT_EQ(600, n) << hz << " Hz: frames in ten seconds";
    }
}

TEST_F(PacerTest, ARealSixtyHertzVsyncIsKept) {
    display.period = 1.0 / 60;
    pacer.setRefreshRate(60);
    frames(600);
    EXPECT_TRUE(pacer.vsync());
    EXPECT_FALSE(pacer.vsyncDistrusted());
    EXPECT_EQ(0, clock.sleeps) << "the refresh paces the loop, nothing sleeps";
    EXPECT_NEAR(10.0, starts.back() - starts[0], 2 * kInterval);
}

TEST_F(PacerTest, AVsyncSlowerThanItClaimsIsKept) {
    // 59.94 Hz reported as 60, or frames too heavy for every refresh: slow, never fast.
    display.period = 1.0 / 59.94;
    pacer.setRefreshRate(60);
    frames(300);
    EXPECT_TRUE(pacer.vsync());
    display.period = 1.0 / 60;
    frames(300, 0.020);
    EXPECT_TRUE(pacer.vsync());
}

TEST_F(PacerTest, PresentsFasterThanTheRefreshHandTheLoopToTheTimer) {
    // A virtual display claims 60 Hz and runs its vsync at 63.5.
    display.period = 1.0 / 63.5;
    pacer.setRefreshRate(60);
    frames(FramePacer::kVsyncWarmup + FramePacer::kVsyncJudged + 1);
    EXPECT_FALSE(pacer.vsync());
    EXPECT_TRUE(pacer.vsyncDistrusted());
    EXPECT_EQ((std::vector<bool>{true, false}), vsyncCalls);
    const std::size_t timedFrom = starts.size();
    frames(600);
    EXPECT_NEAR(599 * kInterval, starts.back() - starts[timedFrom], 1e-6);
    // The same display reporting itself again does not win vsync back.
    pacer.setRefreshRate(0);
    pacer.setRefreshRate(60);
    EXPECT_FALSE(pacer.vsync());
}

TEST_F(PacerTest, ADriverIgnoringVsyncNeverRacesTheGame) {
    display.period = 0; // presents return at once, vsync or not
    pacer.setRefreshRate(60);
    frames(200, 0.001);
    EXPECT_FALSE(pacer.vsync());
    // Even while vsync was on trial, no frame came sooner than the guard allows.
    EXPECT_GE(shortestGap(), FramePacer::kVsyncGuard * kInterval - 1e-9);
    const double trial = (FramePacer::kVsyncWarmup + FramePacer::kVsyncJudged) * kInterval;
    EXPECT_LT(starts[FramePacer::kVsyncWarmup + FramePacer::kVsyncJudged] - starts[0], trial)
        << "judged within the trial";
    EXPECT_GE(shortestGap(FramePacer::kVsyncWarmup + FramePacer::kVsyncJudged + 1), kInterval - 1e-9);
}

TEST_F(PacerTest, VsyncIsJudgedAgainAndAgainNotOnlyAtTheStart) {
    display.period = 1.0 / 60;
    pacer.setRefreshRate(60);
    frames(400);
    ASSERT_TRUE(pacer.vsync());
    display.period = 0.5 / 60; // the driver starts returning twice per refresh
    frames(2 * (FramePacer::kVsyncWarmup + FramePacer::kVsyncJudged));
    EXPECT_FALSE(pacer.vsync());
}

TEST_F(PacerTest, WaitingBeforeThePresentShowsFramesEvenlyHoweverLongTheyTookToDraw) {
    pacer.setRefreshRate(0);
    std::mt19937 random(11);
    std::uniform_real_distribution<double> work(0.002, 0.014);
    std::vector<double> shown;
    for (int i = 0; i < 120; ++i) {
        pacer.beginFrame();
        clock.t += work(random); // updates and drawing, finished
        pacer.beforePresent();
        shown.push_back(clock.t);
        display.present(clock, pacer.vsync());
        pacer.endFrame(); // already waited: returns at once
    }
    for (std::size_t i = 2; i < shown.size(); ++i)
        ASSERT_NEAR(kInterval, shown[i] - shown[i - 1], 1e-9) << "frame " << i;
    EXPECT_EQ(120, clock.sleeps) << "one wait a frame, not two";

    // A frame too long to draw is shown when it is ready, and the next one a whole interval on.
    pacer.beginFrame();
    clock.t += 0.030;
    pacer.beforePresent();
    const double late = clock.t;
    pacer.endFrame();
    pacer.beginFrame();
    clock.t += 0.002;
    pacer.beforePresent();
    EXPECT_NEAR(late + kInterval, clock.t, 1e-9);

    // That frame is never ended (the loop stopped animating after it): the next still waits.
    pacer.beginFrame();
    clock.t += 0.002;
    pacer.beforePresent();
    EXPECT_NEAR(late + 2 * kInterval, clock.t, 1e-9);
}
