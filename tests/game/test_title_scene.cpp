// The title screen: its one tap, the departure, and the single fade into the shop.
#include "game/shop/UpgradeScene.h"
#include "game/title/Tap.h"
#include "game/title/Title.h"
#include "game/title/TitleLayer.h"
#include "game/title/TitlePlayer.h"
#include "game/title/TitleScene.h"
#include "tests/support/test_loop_fixture.h"

#include <algorithm>

namespace {

class TitleTest : public LoopTest {
  protected:
    void SetUp() override {
        LoopTest::SetUp();
        pt->step(2);
        EXPECT_EQ(soundFiles("playBackgroundMusic"), std::vector<std::string>{"Music/8bit-Town01.mp3"});
    }
    TitleLayer* title() const { return pt->find<TitleLayer>(); }
};

} // namespace

TEST_F(TitleTest, PromptBlinksUntilTheOnlyTapThatCountsAndTheShopFadeBegins84FramesLater) {
    saved("coinScore", 321);
    TitleLayer* layer = title(); // still running under the fade
    // Out over a second, back over a second: seen every half second (the fixture took two
    // frames) up to frame 150.
    const int opacity[] = {128, 0, 128, 255, 128};
    for (int i = 0; i < 5; ++i) {
        pt->step(i ? 30 : 28);
        EXPECT_EQ(layer->tap->getOpacity(), opacity[i]) << i;
    }
    pt->tap(1800, 50);
    const auto sounds = pt->sounds();
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[0].value("call", ""), "stopBackgroundMusic");
    EXPECT_EQ(sounds[1].value("file", ""), "Music/decision24.mp3");
    EXPECT_FALSE(sounds[1].value("loop", true));

    for (int frame = 1, last = 128; frame <= 84; ++frame) {
        pt->step(1);
        EXPECT_LE(layer->tap->getOpacity(), last) << "the prompt blinks again " << frame << " frames on";
        last = layer->tap->getOpacity();
        // A second's wait, then 1058.4 units in 2 s: past 756 on frame 83, and the fade follows.
        EXPECT_EQ(fadingTo() != nullptr, frame == 84) << frame;
        if (frame == 30) {
            EXPECT_EQ(last, 0);
            EXPECT_EQ(layer->title->getOpacity(), 0);
            EXPECT_NEAR(layer->title->getPositionY(), 939.6, 0.01); // 864 towards 1620 in 5 s
            const auto actions = layer->titlePlayer->getNumberOfRunningActions();
            pt->tap(100, 100);
            EXPECT_TRUE(pt->sounds().empty());
            EXPECT_EQ(layer->titlePlayer->getNumberOfRunningActions(), actions);
        }
        if (frame == 60) {
            EXPECT_NEAR(layer->title->getPositionY(), 1015.2, 0.01);
            EXPECT_NEAR(layer->titlePlayer->getPositionY(), 561.6, 0.01);
        }
        if (frame == 61) {
            EXPECT_NEAR(layer->titlePlayer->getPositionY(), 570.42, 0.01);
        }
    }
    EXPECT_TRUE(dynamic_cast<UpgradeScene*>(fadingTo()));
    EXPECT_NEAR(framesOfFade(), 1.0 * kFps, 1);
    seconds(1);
    // The plant kept rising under the fade, yet one shop was made, with 0: the balance stays.
    const auto music = soundFiles("playBackgroundMusic");
    EXPECT_EQ(std::count(music.begin(), music.end(), "Music/Ru Tororari 160626-223524.mp3"), 1);
    EXPECT_EQ(intKey("coinScore"), 321);
}

TEST_F(TitleTest, ADragCountsOnlyWhereTheTouchEnds) {
    pt->down(200, 200);
    pt->move(900, 700);
    pt->step(10);
    EXPECT_TRUE(pt->sounds().empty());
    EXPECT_TRUE(title()->canTap);
    pt->up(1500, 900);
    EXPECT_EQ(soundFiles("playBackgroundMusic"), std::vector<std::string>{"Music/decision24.mp3"});
    EXPECT_FALSE(title()->canTap);
}
