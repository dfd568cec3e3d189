// The frame: scheduling order, timers, actions and their timing at 60 frames per second.
#include "tests/support/EngineFixture.h"

#include <string>
#include <vector>

USING_NS_CC;

namespace {

std::vector<std::string> g_calls;

class Probe : public Node {
  public:
    CREATE_FUNC(Probe)
    std::string name;
    int ticks = 0;
    bool removeSelfOnTick = false;
    bool removeParentChildOnTick = false;
    void update(float) override { g_calls.push_back(name + ".update"); }
    void tick(float) {
        ++ticks;
        g_calls.push_back(name + ".tick");
        if (removeSelfOnTick) removeFromParentAndCleanup(true);
    }
    void once(float) { g_calls.push_back(name + ".once"); }
};

class SpyAction : public FiniteTimeAction {
  public:
    static SpyAction* create(const std::string& name) {
        auto* a = new SpyAction();
        a->name = name;
        a->autorelease();
        return a;
    }
    void step(double) override { g_calls.push_back(name + ".action"); }
    bool isDone() const override { return false; }
    std::string name;
};

} // namespace

class SchedulingTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        g_calls.clear();
    }
    Probe* probe(const std::string& name) {
        auto* p = Probe::create();
        p->name = name;
        scene->addChild(p);
        return p;
    }
};

TEST_F(SchedulingTest, ActionsThenUpdatesInSchedulingOrderThenTimers) {
    auto* b = probe("b");
    auto* a = probe("a");
    a->schedule(CC_SCHEDULE_SELECTOR(Probe::tick), 0);
    b->scheduleUpdate();
    a->scheduleUpdate();
    a->runAction(SpyAction::create("a"));
    frames(1);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"a.action", "b.update", "a.update", "a.tick"}));
}

TEST_F(SchedulingTest, TimersFireOnTheirFrameAndOnceOnlyOnce) {
    auto* p = probe("p");
    p->schedule(CC_SCHEDULE_SELECTOR(Probe::tick), 1.0f);
    p->scheduleOnce(CC_SCHEDULE_SELECTOR(Probe::once), 0.5f);
    frames(29);
    EXPECT_TRUE(g_calls.empty());
    frames(1);
    EXPECT_EQ(g_calls, std::vector<std::string>{"p.once"});
    frames(29);
    EXPECT_EQ(p->ticks, 0);
    frames(1); // the 60th frame
    EXPECT_EQ(p->ticks, 1);
    frames(60 * 9);
    EXPECT_EQ(p->ticks, 10);
    EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), "p.once"), 1);
}

TEST_F(SchedulingTest, SchedulingTwiceAddsNoSecondTimer) {
    auto* p = probe("p");
    p->schedule(CC_SCHEDULE_SELECTOR(Probe::tick), 1.0f);
    p->schedule(CC_SCHEDULE_SELECTOR(Probe::tick), 1.0f);
    frames(120);
    EXPECT_EQ(p->ticks, 2);
    p->unschedule(CC_SCHEDULE_SELECTOR(Probe::tick));
    frames(120);
    EXPECT_EQ(p->ticks, 2);
}

TEST_F(SchedulingTest, NodesMayRemoveThemselvesInsideTheirCallbacks) {
    auto* p = probe("p");
    auto* q = probe("q");
    p->removeSelfOnTick = true;
    p->schedule(CC_SCHEDULE_SELECTOR(Probe::tick), 0);
    p->scheduleUpdate();
    q->schedule(CC_SCHEDULE_SELECTOR(Probe::tick), 0);
    frames(3);
    EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), "p.tick"), 1);
    EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), "q.tick"), 3);
    EXPECT_EQ(scene->getChildrenCount(), 1u);
}

TEST_F(SchedulingTest, NothingRunsBeforeANodeEntersTheSceneOrWhilePaused) {
    auto* p = Probe::create();
    p->retain(); // kept across frames before it joins the tree
    p->name = "p";
    p->schedule(CC_SCHEDULE_SELECTOR(Probe::tick), 0);
    p->scheduleUpdate();
    p->runAction(MoveTo::create(1, Vec2(60, 0)));
    frames(5);
    EXPECT_EQ(p->ticks, 0);
    EXPECT_EQ(p->getPositionX(), 0);
    scene->addChild(p);
    p->release();
    frames(30);
    EXPECT_EQ(p->ticks, 30);
    EXPECT_NEAR(p->getPositionX(), 30, 1e-3);
    p->pause();
    const auto updates = std::count(g_calls.begin(), g_calls.end(), "p.update");
    EXPECT_EQ(updates, 30);
    frames(10);
    EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), "p.update"), updates);
    EXPECT_EQ(p->ticks, 30);
    EXPECT_NEAR(p->getPositionX(), 30, 1e-3);
    p->resume();
    frames(30);
    EXPECT_FLOAT_EQ(p->getPositionX(), 60);
    p->removeFromParentAndCleanup(true);
}

TEST_F(SchedulingTest, RemovalWithCleanupStopsEverything) {
    auto* p = probe("p");
    p->retain();
    p->schedule(CC_SCHEDULE_SELECTOR(Probe::tick), 0);
    p->runAction(RepeatForever::create(RotateBy::create(1, 360)));
    p->removeFromParentAndCleanup(true);
    EXPECT_EQ(p->getNumberOfRunningActions(), 0u);
    EXPECT_FALSE(p->isScheduled(CC_SCHEDULE_SELECTOR(Probe::tick)));
    p->release();
}

TEST_F(EngineTest, ActionsEndOnTheirFrame) {
    auto* s = Sprite::create();
    scene->addChild(s);
    s->runAction(Sequence::create(MoveTo::create(0.5f, Vec2(100, 0)), DelayTime::create(1.3f),
                                  MoveTo::create(0.5f, Vec2(0, 0))));
    frames(29);
    EXPECT_LT(s->getPositionX(), 100);
    frames(1);
    EXPECT_FLOAT_EQ(s->getPositionX(), 100);
    frames(78);
    EXPECT_FLOAT_EQ(s->getPositionX(), 100);
    frames(30);
    EXPECT_FLOAT_EQ(s->getPositionX(), 0);
    frames(1);
    EXPECT_EQ(s->getNumberOfRunningActions(), 0u);
}

TEST_F(EngineTest, FadesScalesAndEndlessPulses) {
    auto* s = Sprite::create();
    scene->addChild(s);
    s->runAction(RepeatForever::create(Sequence::create(FadeTo::create(1, 20), FadeTo::create(1, 255))));
    s->setScale(0.1f);
    s->runAction(ScaleTo::create(0.2f, 0.5f));
    frames(12);
    EXPECT_FLOAT_EQ(s->getScale(), 0.5f);
    frames(48);
    EXPECT_EQ(s->getOpacity(), 20);
    frames(60);
    EXPECT_EQ(s->getOpacity(), 255);
    frames(60 * 100 + 60);
    EXPECT_EQ(s->getOpacity(), 20); // no drift after a hundred cycles
}

TEST_F(EngineTest, OneActionServesASpawnAndThenARepeat) {
    auto* s = Sprite::create();
    scene->addChild(s);
    s->setScale(0.1f);
    auto* spin = RotateBy::create(10, 360);
    s->runAction(Sequence::create(Spawn::create(ScaleTo::create(0.5f, 1.0f), spin),
                                  Repeat::create(spin, 4294967295u)));
    frames(30);
    EXPECT_FLOAT_EQ(s->getScale(), 1.0f);
    EXPECT_NEAR(s->getRotation(), 18, 1e-3);
    frames(600); // 10.5 s: into the repeat
    EXPECT_NEAR(s->getRotation(), 18, 1e-2);
    EXPECT_EQ(s->getNumberOfRunningActions(), 1u);
}

namespace {
// Schedules a one-second timer from inside its own update.
class LateScheduler : public Node {
  public:
    CREATE_FUNC(LateScheduler)
    unsigned long long scheduledAt = 0, firedAt = 0;
    void update(float) override {
        if (scheduledAt) return;
        scheduledAt = Director::getInstance()->getTotalFrames();
        schedule(CC_SCHEDULE_SELECTOR(LateScheduler::tick), 1.0f);
    }
    void tick(float) {
        if (!firedAt) firedAt = Director::getInstance()->getTotalFrames();
    }
};
} // namespace

TEST_F(EngineTest, ATimerScheduledDuringAnUpdateStartsCountingNextFrame) {
    auto* node = LateScheduler::create();
    scene->addChild(node);
    node->scheduleUpdate();
    frames(61);
    ASSERT_NE(node->scheduledAt, 0u);
    EXPECT_EQ(node->firedAt - node->scheduledAt, 60u);
}

// The real loop steps by measured frame times: 0.3 s, 1/24 s, a 0.1 s hitch among 1/60 s frames.
TEST_F(SchedulingTest, TimersKeepTheirOvershootWhateverTheFrameLength) {
    const auto firings = [&](double dt, int steps, const std::vector<int>& hitches = {}) {
        g_calls.clear();
        auto* p = probe("p");
        p->schedule(CC_SCHEDULE_SELECTOR(Probe::tick), 1.0f);
        p->scheduleOnce(CC_SCHEDULE_SELECTOR(Probe::once), 0.5f);
        std::vector<int> at;
        for (int i = 1; i <= steps; ++i) {
            const int before = p->ticks;
            frames(1, std::count(hitches.begin(), hitches.end(), i) ? 0.1 : dt);
            if (p->ticks > before) at.push_back(i);
            // The half-second one-off has fired, once, by 0.6 s (or 0.5 s in short frames).
            if (i == (dt > 0.1 ? 2 : 30)) {
                EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), "p.once"), 1) << dt;
            }
        }
        p->removeFromParentAndCleanup(true);
        return at;
    };
    // Every 0.3 s: at 1.2, 2.1, 3.0, 4.2, 5.1 and 6.0 s, not at 1.2, 2.4, 3.6 ...
    EXPECT_EQ(firings(0.3, 20), (std::vector<int>{4, 7, 10, 14, 17, 20}));
    EXPECT_EQ(firings(1.0 / 24, 73), (std::vector<int>{24, 48, 72}));
    // A 0.1 s hitch as the 31st frame: 0.6 s gone, so the second is full 24 frames later.
    EXPECT_EQ(firings(kFrame, 130, {31}), (std::vector<int>{55, 115}));
    EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), "p.once"), 1);
}

TEST_F(EngineTest, SequencesRepeatsAndEndlessLoopsCarryTheTimeLeftOver) {
    auto* s = Sprite::create();
    scene->addChild(s);
    s->runAction(Sequence::create(MoveTo::create(0.5f, Vec2(100, 0)), MoveTo::create(0.5f, Vec2(200, 0))));
    const float x[] = {60, 120, 180, 200}; // the second move already 0.1 s on at 0.6 s
    for (float expected : x) {
        frames(1, 0.3);
        EXPECT_NEAR(s->getPositionX(), expected, 1e-3);
    }
    EXPECT_EQ(s->getPosition(), Vec2(200, 0));

    // The plant's jump at 24 frames a second: up in 12 frames, 1.3 s up there, and the way
    // down already 1/30 s along in the frame the wait ends.
    s->setPosition(0, 540);
    s->runAction(Sequence::create(MoveTo::create(0.5f, Vec2(0, 864)), DelayTime::create(1.3f),
                                  MoveTo::create(0.5f, Vec2(0, 540))));
    frames(12, 1.0 / 24);
    EXPECT_EQ(s->getPositionY(), 864);
    frames(31, 1.0 / 24);
    EXPECT_EQ(s->getPositionY(), 864);
    frames(1, 1.0 / 24);
    EXPECT_NEAR(s->getPositionY(), 842.4, 1e-2);
    frames(12, 1.0 / 24);
    EXPECT_EQ(s->getPositionY(), 540);

    // Three quarter turns, and not one more.
    s->runAction(Repeat::create(RotateBy::create(1, 90), 3));
    const float turned[] = {27, 54, 81, 108, 135, 162, 189, 216, 243, 270, 270, 270};
    for (float expected : turned) {
        frames(1, 0.3);
        EXPECT_NEAR(s->getRotation(), expected, 1e-3);
    }
    EXPECT_EQ(s->getNumberOfRunningActions(), 0u);

    // A twinkle (0.7 s each way) keeps its phase over a hundred rounds of 0.3 s frames.
    s->runAction(
        RepeatForever::create(Sequence::create(FadeTo::create(0.7f, 20), FadeTo::create(0.7f, 255))));
    for (int round : {0, 100}) {
        frames(round * 14 + 1, 0.3);
        EXPECT_EQ(s->getOpacity(), 154) << round;
        frames(2, 0.3);
        EXPECT_EQ(s->getOpacity(), 87) << round;
        frames(11, 0.3);
    }
}

TEST_F(EngineTest, MovesAndFadesEndExactlyOnTheirTargetAfterAHitch) {
    auto* s = Sprite::create();
    scene->addChild(s);
    s->runAction(MoveTo::create(0.7f, Vec2(100.3f, -7.7f)));
    s->runAction(FadeTo::create(0.7f, 20));
    frames(20);
    frames(1, 0.1);
    frames(15);
    EXPECT_NE(s->getOpacity(), 20);
    frames(1);
    EXPECT_EQ(s->getPosition(), Vec2(100.3f, -7.7f));
    EXPECT_EQ(s->getOpacity(), 20);
}
