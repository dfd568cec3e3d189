// The stage timer: its colours, time-outs with and without an extra life, the barrier, and
// game over as the round's objects see it.
#include "tests/support/test_round_fixture.h"

#include "game/figures/Player.h"
#include "game/round/BarrierField.h"
#include "game/round/EffectManager.h"
#include "game/round/Planet.h"

USING_NS_CC;

namespace {
const Color3B kGreen(0, 255, 0);
const Color3B kYellow(255, 255, 0);
const Color3B kRed(255, 0, 0);
} // namespace

TEST_F(RoundTest, CloudColourFollowsTheSecondsLeft) {
    pt->execute("open game 0 3 0");
    TimeSprite* timer = layer()->timeSprite;
    ASSERT_EQ(19, timer->seconds);
    step(1);
    EXPECT_EQ(kGreen, timer->getColor());
    // Seconds after n counted seconds: 19 - n. Colour seen the frame after each count.
    const Color3B expected[] = {kGreen,        kGreen, kGreen,        kGreen,  kGreen,  kGreen,  kGreen,
                                kGreen,        kGreen, kGreen /*10*/, kYellow, kYellow, kYellow, kYellow,
                                kYellow /*5*/, kRed,   kRed,          kRed,    kRed,    kRed};
    for (int n = 1; n <= 19; ++n) {
        step(kFps);
        ASSERT_EQ(19 - n, timer->seconds);
        EXPECT_EQ(expected[n], timer->getColor()) << "at " << timer->seconds << " s";
    }
    // The cloud pulses between opacity 20 and 255, a second each way.
    EXPECT_EQ(1u, timer->getNumberOfRunningActions());
}

TEST_F(RoundTest, ShortestStageIsRedFromItsFirstFrame) {
    pt->execute("open game 0 0 0");
    step(1);
    EXPECT_EQ(kRed, layer()->timeSprite->getColor());
}

TEST_F(RoundTest, TimeOutWithoutALifeEndsTheRoundOnceAtTheFrameDue) {
    pt->execute("open game 25 0 0");
    GameLayer* l = layer();
    TimeSprite* timer = l->timeSprite;
    EffectManager* effects = l->effectManager;
    // Four seconds, timing out five seconds after the stage began.
    step(5 * kFps);
    EXPECT_TRUE(timer->isArmed);
    EXPECT_NE(nullptr, l->targetManager);
    step(1);
    EXPECT_FALSE(timer->isArmed);
    EXPECT_EQ(0, timer->seconds);
    EXPECT_EQ(nullptr, l->targetManager);
    EXPECT_EQ(nullptr, l->buttonManager);
    EXPECT_EQ(nullptr, l->answerManager);
    EXPECT_EQ(nullptr, l->targetPlate);
    EXPECT_EQ(nullptr, l->answerPlate);
    EXPECT_EQ(nullptr, l->bonusEffect);
    // The timer and the stage's effects node stay.
    EXPECT_EQ(timer, l->timeSprite);
    EXPECT_EQ(effects, l->effectManager);
    EXPECT_EQ(timer, pt->find<TimeSprite>());
    EXPECT_EQ(25, pt->store()["scoreMoney"]);

    // The dead planet slides in and stays dead; the plant wilts half a second later.
    step(30);
    EXPECT_EQ(Vec2(1152, 540), l->planet->getPosition());
    EXPECT_EQ("GameScene/PlantNotOut.png", l->player->getFileName());
    step(10 * kFps);
    EXPECT_EQ("GameScene/deadPlanet.png", l->planet->getFileName());
    EXPECT_EQ(Vec2(1152, 540), l->planet->getPosition());
    EXPECT_EQ(0, timer->seconds);
    EXPECT_EQ(effects, l->effectManager);
}

TEST_F(RoundTest, TimeOutWithALifeCostsItAndStillScoresTheStage) {
    pt->execute("open game 0 0 1");
    GameLayer* l = layer();
    step(1);
    EXPECT_EQ(Color3B(255, 100, 100), l->barrierField->getColor());
    EXPECT_TRUE(l->barrierField->isVisible());
    step(5 * kFps);
    EXPECT_EQ(0, l->lives);
    EXPECT_FALSE(l->timeSprite->isArmed);
    EXPECT_NE(nullptr, l->answerPlate);
    step(1);
    EXPECT_FALSE(l->barrierField->isVisible());
    // The stage ends one second after the time-out, as if solved.
    int waited = 1;
    while (l->score == 0 && waited < 3 * kFps) {
        step(1);
        ++waited;
    }
    EXPECT_NEAR(kFps, waited, 1);
    EXPECT_EQ(1, l->score);
    EXPECT_EQ(nullptr, l->timeSprite);
    EXPECT_TRUE(l->planet->isFlying);

    // The next time-out, with no life left, ends the round.
    stepUntil([&] { return l->stageCount != 1; });
    TimeSprite* timer = l->timeSprite;
    step(5 * kFps + 1);
    EXPECT_FALSE(timer->isArmed);
    EXPECT_EQ(nullptr, l->answerPlate);
    EXPECT_EQ(1, pt->store()["scoreMoney"]);
    step(10 * kFps);
    EXPECT_EQ(1, pt->store()["scoreMoney"]) << "banked more than once";
}

TEST_F(RoundTest, BarrierChangesColourWithEachLifeLostUntilTheFourthTimeOut) {
    pt->execute("open game 0 0 3");
    GameLayer* l = layer();
    const Color3B colours[] = {Color3B(100, 255, 100), Color3B(255, 255, 100), Color3B(255, 100, 100)};
    for (int lost = 0; lost < 3; ++lost) {
        step(1);
        EXPECT_EQ(colours[lost], l->barrierField->getColor());
        EXPECT_EQ(l->player->getPosition(), l->barrierField->getPosition());
        const int stage = l->stageCount;
        step(5 * kFps);
        EXPECT_EQ(2 - lost, l->lives);
        EXPECT_NE(nullptr, l->answerPlate);
        stepUntil([&] { return l->stageCount != stage; });
    }
    // The barrier is gone, and the fourth time-out ends the round.
    step(1);
    EXPECT_FALSE(l->barrierField->isVisible());
    TimeSprite* timer = l->timeSprite;
    step(5 * kFps);
    EXPECT_FALSE(timer->isArmed);
    EXPECT_EQ(nullptr, l->answerPlate);
    EXPECT_EQ(3, l->score);
}

TEST_F(RoundTest, ANegativeLifeCountGivesNoEndlessLives) {
    pt->execute("open game 0 0 -1");
    GameLayer* l = layer();
    EXPECT_EQ(0, l->lives) << "read as no extra life";
    step(5 * kFps + 1);
    EXPECT_FALSE(l->timeSprite->isArmed);
    EXPECT_EQ(nullptr, l->answerPlate) << "the first time-out must end the round";
}

// Only a damaged or edited store holds a level above 3: it counts as 3, so the round still ends
// and its score is banked.
TEST_F(RoundTest, ALifeLevelAboveThreeCountsAsThree) {
    for (const long long level : {4LL, 2147483647LL}) {
        SCOPED_TRACE(level);
        pt->execute("open game 100 0 " + std::to_string(level));
        GameLayer* l = layer();
        EXPECT_EQ(3, l->lives);
        step(2);
        EXPECT_EQ(Color3B(100, 255, 100), l->barrierField->getColor());
        stepUntil([&] { return l->answerPlate == nullptr; }, 40 * kFps);
        EXPECT_EQ(3, l->score) << "three stages ended by time-outs with a life left";
        EXPECT_EQ(103, pt->store()["scoreMoney"]);
    }
}

TEST_F(RoundTest, RowCompletedJustAfterTheLastSecondRanOutStillCounts) {
    pt->execute("open game 0 0 0");
    GameLayer* l = layer();
    step(5 * kFps);
    // The count has just gone below zero; the time-out is handled next frame.
    ASSERT_EQ(-1, l->timeSprite->seconds);
    ASSERT_TRUE(ringIsDistinct());
    solveStage();
    step(1);
    EXPECT_NE(nullptr, l->answerPlate) << "the round must not end after a completed row";
    step(kFps);
    EXPECT_EQ(1, l->score);
    EXPECT_EQ(0, pt->store()["scoreMoney"]);
    stepUntil([&] { return l->stageCount != 1; });
    EXPECT_NE(nullptr, l->buttonManager);
}

TEST_F(RoundTest, StoppedTimerKeepsItsCountAndNeverTimesOut) {
    pt->execute("open game 0 1 0");
    GameLayer* l = layer();
    TimeSprite* timer = l->timeSprite;
    step(2 * kFps);
    timer->stopCountDown();
    const int left = timer->seconds;
    step(20 * kFps);
    EXPECT_EQ(left, timer->seconds);
    EXPECT_NE(nullptr, l->answerPlate);
}
