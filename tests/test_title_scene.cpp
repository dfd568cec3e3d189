// The title screen: its one tap, the departure, and the single fade into the shop.
#include "Tap.h"
#include "Title.h"
#include "TitleLayer.h"
#include "TitlePlayer.h"
#include "TitleScene.h"
#include "UpgradeScene.h"
#include "test_loop_fixture.h"

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

TEST_F(TitleTest, OnlyTheFirstTapCountsAndTheShopFadeBeginsOnceAbout1_37sLater) {
    saved("coinScore", 321);
    TitleLayer* layer = title(); // still running under the fade
    pt->tap(1800, 50);
    const auto sounds = pt->sounds();
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[0].value("call", ""), "stopBackgroundMusic");
    EXPECT_EQ(sounds[1].value("file", ""), "Music/decision24.mp3");
    EXPECT_FALSE(sounds[1].value("loop", true));

    seconds(0.5);
    EXPECT_EQ(layer->tap->getOpacity(), 0);
    EXPECT_EQ(layer->title->getOpacity(), 0);
    EXPECT_FLOAT_EQ(layer->titlePlayer->getPositionY(), static_cast<float>(kDesignSize.height * 0.52));
    const auto actions = layer->titlePlayer->getNumberOfRunningActions();
    pt->tap(100, 100);
    EXPECT_TRUE(pt->sounds().empty());
    EXPECT_EQ(layer->titlePlayer->getNumberOfRunningActions(), actions);

    // A second of waiting, then 194.4 of the 1058.4 units the plant flies in two seconds.
    const double expected = 0.5 + 2.0 * (0.7 - 0.52) / (1.5 - 0.52);
    EXPECT_NEAR(framesUntilFade(3 * kFps) / double(kFps), expected, 2.0 / kFps);
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
