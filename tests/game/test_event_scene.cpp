// The cut-scene: the relay of the progress, its own end and the skip.
#include "game/event/EventLayer.h"
#include "game/event/EventNode.h"
#include "game/event/EventScene.h"
#include "game/round/GameLayer.h"
#include "game/round/GameScene.h"
#include "tests/support/test_loop_fixture.h"

#include <algorithm>

namespace {

class EventTest : public LoopTest {
  protected:
    void openEvent(int coins, int timeLevel, int lifeLevel) {
        pt->logLines();
        pt->execute("open event " + std::to_string(coins) + " " + std::to_string(timeLevel) + " " +
                    std::to_string(lifeLevel));
        layer = pt->find<EventLayer>();
        pt->sounds();
    }
    // Lets the fade run out; how many rounds were made on the way.
    long roundsMade() {
        framesOfFade();
        pt->step(1);
        const auto music = soundFiles("playBackgroundMusic");
        return std::count(music.begin(), music.end(), "Music/Mu Judetudi 160626-234500.mp3");
    }
    void expectRoundGot(int coins, int timeLevel, int lifeLevel) {
        auto* round = dynamic_cast<GameScene*>(pt->runningScene());
        ASSERT_TRUE(round);
        EXPECT_EQ(intKey("scoreMoney"), coins);
        EXPECT_EQ(intKey("gaug1"), timeLevel);
        EXPECT_EQ(intKey("gaug2"), lifeLevel);
        EXPECT_EQ(round->gameLayer->lives, lifeLevel);
    }
    EventLayer* layer = nullptr; // kept, since it runs on under the fade
};

} // namespace

TEST_F(EventTest, WithoutATapTheRoundFollowsAtElevenSecondsWithASlowFade) {
    openEvent(321, 1, 2);
    EXPECT_EQ(intKey("scores"), 321);
    EXPECT_EQ(intKey("time"), 1);
    EXPECT_EQ(intKey("life"), 2);
    EXPECT_EQ(pt->logLines(), nlohmann::json::array({"321"}));

    EXPECT_NEAR(framesUntilFade(), 11 * kFps, 1);
    EXPECT_FALSE(layer->canSkip);
    pt->step(5);
    EXPECT_GT(layer->eventNode->getPositionX(), 0); // already walking off to the right
    EXPECT_NEAR(framesOfFade() + 5, 1.5 * kFps, 1);
    EXPECT_EQ(roundsMade(), 1);
    expectRoundGot(321, 1, 2);
    EXPECT_EQ(intKey("scores"), 321); // the relay stays in the store
}

TEST_F(EventTest, ADragThatEndsJustBeforeTheEndSkipsOnceWithAHalfSecondFade) {
    // The old scene keeps running under the skip's fade, past the moment of its own end.
    openEvent(40, 2, 0);
    seconds(10);
    pt->down(100, 100);
    pt->move(1800, 1000);
    seconds(0.8);
    EXPECT_TRUE(layer->canSkip);
    pt->up(1800, 1000);
    EXPECT_FALSE(layer->canSkip);
    EXPECT_EQ(framesUntilFade(), 1);
    EXPECT_NEAR(framesOfFade(), 0.5 * kFps, 1);
    EXPECT_EQ(roundsMade(), 1);
    expectRoundGot(40, 2, 0);
}
