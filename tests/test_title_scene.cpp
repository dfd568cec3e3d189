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

constexpr const char* kShopMusic = "Music/Ru Tororari 160626-223524.mp3";

class TitleTest : public LoopTest {
protected:
    void SetUp() override {
        LoopTest::SetUp();
        pt->step(2);
        pt->sounds();
    }
    TitleLayer* title() const { return pt->find<TitleLayer>(); }
};

} // namespace

TEST_F(TitleTest, ProgramStartsOnTheTitleWithItsMusic) {
    restart();
    ASSERT_TRUE(dynamic_cast<TitleScene*>(pt->runningScene()));
    pt->step(1);
    EXPECT_EQ(soundFiles("playBackgroundMusic"), std::vector<std::string>{"Music/8bit-Town01.mp3"});
}

TEST_F(TitleTest, FirstTapPlaysTheJingleAndStartsTheDeparture) {
    pt->tap(1800, 50);
    const auto sounds = pt->sounds();
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[0].value("call", ""), "stopBackgroundMusic");
    EXPECT_EQ(sounds[1].value("file", ""), "Music/decision24.mp3");
    EXPECT_FALSE(sounds[1].value("loop", true));

    seconds(0.5);
    EXPECT_EQ(title()->tap->getOpacity(), 0);
    EXPECT_EQ(title()->title->getOpacity(), 0);
    EXPECT_GT(title()->title->getPositionY(), kDesignSize.height * 0.8);
    // The plant waits its second before it flies.
    EXPECT_FLOAT_EQ(title()->titlePlayer->getPositionY(), static_cast<float>(kDesignSize.height * 0.52));

    // Later taps change nothing: no second jingle, no second set of actions.
    const auto actionsBefore = title()->titlePlayer->getNumberOfRunningActions();
    pt->tap(100, 100);
    EXPECT_TRUE(pt->sounds().empty());
    EXPECT_EQ(title()->titlePlayer->getNumberOfRunningActions(), actionsBefore);
}

TEST_F(TitleTest, ShopFadeBeginsOnceAbout1_37SecondsAfterTheTap) {
    saved("coinScore", 321);
    pt->tap(960, 540);
    const int frames = framesUntilFade(3 * kFps);
    ASSERT_GT(frames, 0);
    // One second of waiting, then 194.4 of the plant's 1058.4-unit flight of two seconds.
    const double expected = 1.0 + 2.0 * (kDesignSize.height * 0.7 - kDesignSize.height * 0.52) /
                                      (kDesignSize.height * 1.5 - kDesignSize.height * 0.52);
    EXPECT_NEAR(frames / double(kFps), expected, 2.0 / kFps);
    EXPECT_TRUE(dynamic_cast<UpgradeScene*>(fadingTo()));

    int fadeFrames = 0;
    while (fadingTo() && fadeFrames < 5 * kFps) {
        pt->step(1);
        ++fadeFrames;
    }
    EXPECT_NEAR(fadeFrames, 1.0 * kFps, 1);
    ASSERT_TRUE(dynamic_cast<UpgradeScene*>(pt->runningScene()));
    seconds(1);
    // The plant kept rising under the fade, yet the shop was made only once, with 0.
    const auto music = soundFiles("playBackgroundMusic");
    EXPECT_EQ(std::count(music.begin(), music.end(), kShopMusic), 1);
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

TEST_F(TitleTest, WithoutATapTheTitleStaysAndThePromptKeepsBlinking) {
    int lowest = 255, highest = 0;
    for (int i = 0; i < 30 * kFps; ++i) {
        pt->step(1);
        lowest = std::min<int>(lowest, title()->tap->getOpacity());
        highest = std::max<int>(highest, title()->tap->getOpacity());
    }
    EXPECT_TRUE(dynamic_cast<TitleScene*>(pt->runningScene()));
    EXPECT_LT(lowest, 10);
    EXPECT_GT(highest, 245);
    EXPECT_TRUE(soundFiles("playBackgroundMusic").empty());
}
