// What moves, blinks and sounds, on the very frame it is due at 60 frames a second. The numbers
// are worked out from the layout and the durations by hand, not read from the game.
#include "game/event/EventLayer.h"
#include "game/event/EventNode.h"
#include "game/event/EventPlantNode.h"
#include "game/figures/PlantBom.h"
#include "game/figures/Player.h"
#include "game/figures/Star.h"
#include "game/round/Planet.h"
#include "tests/support/test_round_fixture.h"

USING_NS_CC;

namespace {

class TimingTest : public RoundTest {
  protected:
    // Steps on until `now`, the frames stepped through at(), reaches `frame`.
    void at(int frame) {
        pt->step(frame - now);
        now = frame;
    }
    // Watches a looping frame animation for three rounds: its pictures come in this order, each
    // for framesEach frames (give or take the frame a tenth of a second falls on), and a round
    // lasts exactly as long as its pictures together.
    void expectLoop(Sprite* sprite, const std::vector<std::string>& pictures, int framesEach) {
        std::vector<std::pair<std::string, int>> runs;
        const int n = static_cast<int>(pictures.size());
        for (int i = 0; i < 3 * n * framesEach; ++i) {
            pt->step(1);
            if (runs.empty() || runs.back().first != sprite->getFileName())
                runs.emplace_back(sprite->getFileName(), 0);
            ++runs.back().second;
        }
        std::size_t first = 1;
        while (first < runs.size() && runs[first].first != pictures[0])
            ++first;
        int sum = 0;
        for (std::size_t j = first; j + 1 < runs.size(); ++j) {
            EXPECT_EQ(runs[j].first, pictures[(j - first) % n]);
            EXPECT_NEAR(runs[j].second, framesEach, 1) << runs[j].first;
            sum += runs[j].second;
            if ((j - first) % n == static_cast<std::size_t>(n - 1)) {
                EXPECT_EQ(std::exchange(sum, 0), n * framesEach);
            }
        }
        EXPECT_GE(runs.size(), first + 2 * n) << "too few pictures shown";
    }
    int now = 0;
};

} // namespace

TEST_F(TimingTest, PlantSwaysCompanionBreathesAndTheJumpKeepsItsTimes) {
    open(0, 3, 0);
    GameLayer* l = layer();
    expectLoop(
        l->player,
        {"GameScene/Plant1.png", "GameScene/Plant2.png", "GameScene/Plant3.png", "GameScene/Plant2.png"}, 6);
    expectLoop(l->plantBom, {"GameScene/PlantBom1.png", "GameScene/PlantBom2.png", "GameScene/PlantBom3.png"},
               24);
    solveStage(); // frames from here on
    // A second after the row is complete: up to 864 in 0.5 s, 1.3 s up there, down in 0.5 s.
    const std::pair<int, float> y[] = {{60, 540},     {61, 550.8f},  {90, 864}, {168, 864},
                                       {169, 853.2f}, {197, 550.8f}, {198, 540}};
    for (const auto& [frame, expected] : y) {
        at(frame);
        EXPECT_NEAR(l->player->getPositionY(), expected, 0.01) << frame;
    }
}

TEST_F(TimingTest, PlantWiltsWithItsThudHalfASecondAfterGameOver) {
    pt->execute("open game 0 0 0");
    GameLayer* l = layer();
    at(300);
    EXPECT_TRUE(l->timeSprite->isArmed);
    at(301); // four seconds and the second that shows 0
    EXPECT_FALSE(l->timeSprite->isArmed);
    pt->sounds();
    at(316);
    EXPECT_NEAR(l->planet->getPositionX(), 2016, 0.01);
    at(330);
    EXPECT_NE(l->player->getFileName(), "GameScene/PlantNotOut.png");
    EXPECT_EQ(soundFiles("playEffect"), std::vector<std::string>{});
    at(331);
    EXPECT_EQ(l->player->getFileName(), "GameScene/PlantNotOut.png");
    EXPECT_EQ(soundFiles("playEffect"), std::vector<std::string>{"Music/Onmtp-Impact06-1.mp3"});
    EXPECT_EQ(l->planet->getPosition(), Vec2(1152, 540));
}

TEST_F(TimingTest, EachStarWaitsItsOwnDelayThenTwinklesAndJumpsEvery1_4s) {
    const auto stars = pt->findAll<Star>();
    ASSERT_EQ(stars.size(), 20u);
    std::vector<Vec2> from;
    for (Star* star : stars)
        from.push_back(star->getPosition());
    for (int frame = 1; frame <= 150; ++frame) {
        pt->step(1);
        for (std::size_t i = 0; i < stars.size(); ++i) {
            const int delay = static_cast<int>(std::lround(stars[i]->twinkleDelay * 60));
            ASSERT_TRUE(delay % 6 == 0 && delay >= 6 && delay <= 60) << stars[i]->twinkleDelay;
            // Down to 20 in 0.7 s, back in 0.7 s, and a jump with every full twinkle.
            const int since = frame - delay;
            const int opacity = stars[i]->getOpacity();
            EXPECT_TRUE(since > 0 || opacity == 255) << i << " twinkles early, frame " << frame;
            EXPECT_TRUE(since != 1 || opacity < 255) << i << " twinkles late";
            EXPECT_TRUE(since != 42 || opacity == 20) << i;
            EXPECT_TRUE(since != 84 || opacity == 255) << i;
            EXPECT_EQ(stars[i]->getPosition() == from[i], since < 84) << i << " frame " << frame;
        }
    }
}

TEST_F(TimingTest, CutSceneStepsComeOnTheirFrames) {
    pt->execute("open event 10 1 1");
    EventLayer* layer = pt->find<EventLayer>();
    struct {
        int frame;
        float group, planet;
        bool shock, companion;
    } story[] = {{89, 0, 1920, false, false},           {90, 0, 1920, true, false},
                 {180, 0, 1920, true, false},           {181, -32, 1920, true, false},
                 {240, -1920, 1920, true, false},       {241, -1920, 1906.286f, true, false},
                 {420, -1920, -548.571f, false, false}, {421, -1907.2f, -507.429f, false, false},
                 {480, -1152, 1920, false, false},      {570, 0, 1920, false, false},
                 {599, 0, 1920, false, false},          {600, 0, 1920, false, true}};
    for (const auto& s : story) {
        at(s.frame);
        EventNode* group = layer->eventNode;
        EXPECT_NEAR(group->getPositionX(), s.group, 0.01) << s.frame;
        EXPECT_NEAR(layer->eventPlantNode->getPositionX(), s.planet, 0.01) << s.frame;
        EXPECT_EQ(group->shock && group->shock->isVisible(), s.shock) << s.frame;
        EXPECT_EQ(group->plantBom->isVisible(), s.companion) << s.frame;
    }
    EXPECT_EQ(layer->eventNode->shock->getPosition(), Vec2(1036.8f, 756));
    EXPECT_FLOAT_EQ(layer->eventNode->shock->getScale(), 0.6f);
    at(660);
    EXPECT_EQ(fadingTo(), nullptr);
    at(661);
    EXPECT_NE(fadingTo(), nullptr);
}
