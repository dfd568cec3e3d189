// The cut-scene: the relay of the progress, its story, its own end and the skip.
#include "EventLayer.h"
#include "EventNode.h"
#include "EventPlantNode.h"
#include "EventScene.h"
#include "GameLayer.h"
#include "GameScene.h"
#include "PlantBom.h"
#include "test_loop_fixture.h"

#include <algorithm>

namespace {

constexpr const char* kRoundMusic = "Music/Mu Judetudi 160626-234500.mp3";

class EventTest : public LoopTest {
protected:
    void openEvent(int coins, int timeLevel, int lifeLevel) {
        pt->execute("open event " + std::to_string(coins) + " " + std::to_string(timeLevel) + " " +
                    std::to_string(lifeLevel));
        pt->sounds();
    }
    EventLayer* event() const { return pt->find<EventLayer>(); }
    // Runs the rest of the fade and a frame of the round; how many rounds were made on the way.
    long roundsStarted() {
        pt->step(1);
        finishFade();
        pt->step(1);
        const auto music = soundFiles("playBackgroundMusic");
        return std::count(music.begin(), music.end(), kRoundMusic);
    }
    void expectRoundGot(int coins, int timeLevel, int lifeLevel) {
        auto* round = dynamic_cast<GameScene*>(pt->runningScene());
        ASSERT_TRUE(round);
        EXPECT_EQ(intKey("scoreMoney"), coins);
        EXPECT_EQ(intKey("gaug1"), timeLevel);
        EXPECT_EQ(intKey("gaug2"), lifeLevel);
        EXPECT_EQ(round->gameLayer->lives, lifeLevel);
    }
};

} // namespace

TEST_F(EventTest, ProgressIsRelayedThroughTheStoreAndLogged) {
    pt->logLines();
    openEvent(1234, 2, 3);
    EXPECT_EQ(intKey("scores"), 1234);
    EXPECT_EQ(intKey("time"), 2);
    EXPECT_EQ(intKey("life"), 3);
    EXPECT_EQ(pt->logLines(), nlohmann::json::array({"1234"}));
}

TEST_F(EventTest, StoryUnfoldsOnItsSchedule) {
    openEvent(10, 0, 0);
    EventNode* group = event()->eventNode;
    seconds(1.5);
    ASSERT_TRUE(group->shock);
    EXPECT_FLOAT_EQ(onScreen(group->shock).x, kDesignSize.width * 0.54f);
    EXPECT_FLOAT_EQ(onScreen(group->shock).y, kDesignSize.height * 0.7f);
    seconds(2.5); // 4 s: the group has left to the left
    EXPECT_FLOAT_EQ(group->getPositionX(), -kDesignSize.width);
    seconds(3.0); // 7 s: the shock mark goes as the group turns back
    EXPECT_FALSE(group->shock->isVisible());
    seconds(2.5); // 9.5 s: the group is back and the planet gone to the right
    EXPECT_FLOAT_EQ(group->getPositionX(), 0);
    EXPECT_FLOAT_EQ(event()->eventPlantNode->getPositionX(), kDesignSize.width);
    EXPECT_FALSE(group->plantBom->isVisible());
    seconds(0.5); // 10 s
    EXPECT_TRUE(group->plantBom->isVisible());
    EXPECT_TRUE(event()->canSkip);
}

TEST_F(EventTest, WithoutATapTheRoundFollowsAtElevenSecondsWithASlowFade) {
    openEvent(321, 1, 2);
    EventLayer* layer = event(); // still running under the fade
    const int frames = framesUntilFade(12 * kFps);
    EXPECT_NEAR(frames, 11 * kFps, 1);
    EXPECT_FALSE(layer->canSkip);
    // The group is already walking off to the right as the fade begins.
    pt->step(5);
    EXPECT_GT(layer->eventNode->getPositionX(), 0);
    int fadeFrames = 5;
    while (fadingTo()) {
        pt->step(1);
        ++fadeFrames;
    }
    EXPECT_NEAR(fadeFrames, 1.5 * kFps, 1);
    EXPECT_EQ(roundsStarted(), 1);
    expectRoundGot(321, 1, 2);
}

TEST_F(EventTest, ATapSkipsWithAHalfSecondFade) {
    openEvent(55, 3, 1);
    seconds(2);
    pt->tap(10, 10);
    EXPECT_FALSE(event()->canSkip);
    int fadeFrames = 0;
    pt->step(1);
    while (fadingTo()) {
        pt->step(1);
        ++fadeFrames;
    }
    EXPECT_NEAR(fadeFrames, 0.5 * kFps, 1);
    EXPECT_EQ(roundsStarted(), 1);
    expectRoundGot(55, 3, 1);
}

TEST_F(EventTest, ASkipJustBeforeTheEndAsksForOneRoundOnly) {
    // The old scene keeps running under the skip's fade, past the moment of its own end.
    openEvent(40, 2, 0);
    seconds(10.8);
    pt->tap(500, 500);
    EXPECT_EQ(roundsStarted(), 1);
    expectRoundGot(40, 2, 0);
    seconds(2);
    EXPECT_EQ(soundFiles("playBackgroundMusic").size(), 0u);
}

TEST_F(EventTest, OnlyTheEndOfATouchSkips) {
    openEvent(5, 0, 0);
    pt->down(100, 100);
    pt->move(1800, 1000);
    seconds(1);
    EXPECT_TRUE(event()->canSkip);
    EXPECT_FALSE(fadingTo());
    pt->up(1800, 1000);
    pt->step(1);
    EXPECT_TRUE(dynamic_cast<GameScene*>(fadingTo()));
}
