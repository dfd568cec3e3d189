// Controls as the player meets them: how far a button reaches, what a held button shows, what
// a fade shows and lets through.
#include "game/shop/UpgradeScene.h"
#include "game/title/TitleLayer.h"
#include "game/title/TitleScene.h"
#include "tests/support/test_round_fixture.h"

USING_NS_CC;

namespace {

class ControlTest : public RoundTest {
  protected:
    bool drawn(const std::string& picture, float x, float y) const {
        const auto seen = pt->picturesAt(x, y);
        return std::find(seen.begin(), seen.end(), picture) != seen.end();
    }
    // The topmost picture, under the word written over it, if any.
    std::string onTop(const Vec2& at) const {
        const auto seen = pt->picturesAt(at.x, at.y);
        for (auto it = seen.rbegin(); it != seen.rend(); ++it)
            if (it->find('/') != std::string::npos) return *it;
        return "";
    }
    // The last x, to a unit, at which a picture shown at `at` is drawn, going right.
    float rightEdge(const std::string& picture, const Vec2& at) const {
        float inside = at.x, outside = at.x + 300;
        while (outside - inside > 1) {
            const float middle = (inside + outside) / 2;
            (drawn(picture, middle, at.y) ? inside : outside) = middle;
        }
        return inside;
    }
};

} // namespace

TEST_F(ControlTest, AButtonTakesTapsUpToTheEdgeOfItsPictureAndNoFurther) {
    struct {
        const char* scene;
        int frames;
        Vec2 at;
        const char* picture; // null: the ring's element, whichever it is
        const char* sound;
    } cases[] = {
        {"open game 0 3 0", 30, Spot::kRing[0], nullptr, "Music/decision13.mp3"},
        {"open game 0 3 0", 30, Spot::kRing[2], nullptr, "Music/decision13.mp3"},
        {"open game 0 3 0", 30, Spot::kBack, "GameScene/EarthBackButton1.png", "Music/cancel5.mp3"},
        {"open game 7 0 0", 480, Spot::kRetry, "GameScene/playButton1.png", "Music/botton.mp3"},
        {"open game 7 0 0", 480, Spot::kGoShop, "GameScene/GoShop1-1.png", "Music/botton.mp3"},
        {"open shop 1000", 1, Spot::kTimeIcon, "UpGradeScene/timeThree.png", "Music/cursor6.mp3"},
        {"open shop 1000", 1, Spot::kTimePlate, "UpGradeScene/moneyPlate.png", "Music/cursor6.mp3"},
        {"open shop 1000", 1, Spot::kLifeIcon, "UpGradeScene/life.png", "Music/cursor6.mp3"},
        {"open shop 1000", 1, Spot::kLifePlate, "UpGradeScene/moneyPlate.png", "Music/cursor6.mp3"},
        {"open shop 0", 1, Spot::kStart, "UpGradeScene/stageButton1.png", "Music/botton.mp3"},
        {"open shop 0", 1, Spot::kTitle, "GameScene/titleButton1.png", "Music/botton.mp3"},
    };
    for (const auto& c : cases) {
        pt->execute(c.scene);
        pt->step(c.frames);
        pt->sounds();
        const std::string picture = c.picture ? c.picture : onTop(c.at);
        ASSERT_TRUE(drawn(picture, c.at.x, c.at.y)) << picture << " is not drawn where the layout puts it";
        const float edge = rightEdge(picture, c.at);
        pt->tap(edge + 2, c.at.y);
        EXPECT_EQ(soundFiles("playEffect"), std::vector<std::string>{})
            << picture << " reaches past its edge";
        pt->tap(edge - 2, c.at.y);
        EXPECT_EQ(soundFiles("playEffect"), std::vector<std::string>{c.sound}) << picture << " at its edge";
    }
}

TEST_F(ControlTest, AHeldButtonShowsItsPressedPictureAndFiresOnlyWhenReleasedOverIt) {
    pt->execute("open shop 0");
    pt->step(1);
    pt->sounds();
    const Vec2 start = Spot::kStart, away(start.x, start.y + 200);
    pt->down(start.x, start.y);
    EXPECT_EQ(onTop(start), "UpGradeScene/stageButton2.png");
    pt->move(away.x, away.y);
    EXPECT_EQ(onTop(start), "UpGradeScene/stageButton1.png");
    pt->move(start.x, start.y);
    EXPECT_EQ(onTop(start), "UpGradeScene/stageButton2.png");
    pt->up(away.x, away.y);
    pt->step(2);
    EXPECT_TRUE(pt->sounds().empty());
    EXPECT_EQ(fadingTo(), nullptr);
    EXPECT_EQ(onTop(start), "UpGradeScene/stageButton1.png");

    tap(start);
    pt->step(1);
    ASSERT_NE(fadingTo(), nullptr);
    // The shop fades out with the button at rest, not stuck pressed.
    EXPECT_EQ(onTop(start), "UpGradeScene/stageButton1.png");
}

TEST_F(ControlTest, AFadeShowsTheOldSceneThenTheNewOneAndLetsNoTapThrough) {
    pt->execute("open shop 0");
    pt->step(1);
    tap(Spot::kTitle);
    for (int frame = 1; frame < 60; ++frame) {
        pt->step(1);
        const bool shop = drawn("UpGradeScene/coin.png", 1440, 972);
        const bool title = drawn("TitleScene/tutiOne.png", 1440, 972);
        EXPECT_NE(shop, title) << frame;
        EXPECT_TRUE(frame >= 30 || shop) << "the first half shows the shop, frame " << frame;
        EXPECT_TRUE(frame <= 30 || title) << "the second half shows the title, frame " << frame;
        if (frame % 10 == 5) pt->tap(960, 540);
    }
    pt->step(1);
    ASSERT_TRUE(dynamic_cast<TitleScene*>(pt->runningScene()));
    EXPECT_TRUE(pt->find<TitleLayer>()->canTap) << "a tap made during the fade reached the title";
}

TEST_F(ControlTest, APressHeldAcrossASceneChangeDoesNothingInTheNextScene) {
    pt->step(2);
    pt->tap(960, 540);
    pt->step(60);
    // Held down from the title's departure on, where the shop's title button will appear.
    pt->down(Spot::kTitle.x, Spot::kTitle.y);
    ASSERT_TRUE(arriveAt<UpgradeScene>());
    pt->step(5);
    pt->sounds();
    EXPECT_EQ(onTop(Spot::kTitle), "GameScene/titleButton1.png");
    pt->move(Spot::kTitle.x + 1, Spot::kTitle.y);
    pt->up(Spot::kTitle.x, Spot::kTitle.y);
    pt->step(2);
    EXPECT_TRUE(pt->sounds().empty());
    EXPECT_EQ(fadingTo(), nullptr);
}
