// Pressing the ring and the back button: the answer row, the clicks, the companion's tint,
// the seventh press, and a solved stage through to the next one.
#include "tests/support/test_round_fixture.h"

#include "game/figures/PlantBom.h"
#include "game/round/Answer.h"
#include "game/round/BonusEffect.h"
#include "game/round/EffectManager.h"
#include "game/round/Planet.h"

USING_NS_CC;

namespace {
const Color3B kUntinted(255, 255, 255);
const Color3B kRed(255, 0, 0);

std::vector<float> clickPitches(const nlohmann::json& sounds) {
    std::vector<float> out;
    for (const auto& s : sounds)
        if (s["call"] == "playEffect" && s["file"] == "Music/decision13.mp3")
            out.push_back(s["pitch"].get<float>());
    return out;
}
} // namespace

TEST_F(RoundTest, SolvingAStageClicksHigherEachPlaceAndClearsIt) {
    open(0, 3, 0);
    GameLayer* l = layer();
    pt->sounds();
    int targets[6];
    for (int i = 0; i < 6; ++i)
        targets[i] = target(i);

    for (int i = 0; i < 6; ++i) {
        press(targets[i]);
        EXPECT_EQ(i + 1, l->buttonManager->pressCount);
        Answer* answer = l->answerManager->answers[i];
        EXPECT_TRUE(answer->isVisible());
        EXPECT_EQ(targets[i], answer->kind);
        EXPECT_EQ(TargetSprite::plainImage(targets[i]), answer->getFileName());
        EXPECT_EQ(kUntinted, l->plantBom->getColor());
    }
    auto sounds = pt->sounds();
    const std::vector<float> expected = {1.0f, 1.1f, 1.2f, 1.3f, 1.4f, 1.5f};
    ASSERT_EQ(expected.size(), clickPitches(sounds).size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(expected[i], clickPitches(sounds)[i], 1e-5);
    EXPECT_EQ(1, countCalls(sounds, "playEffect", "Music/shakin1.mp3"));

    // At once: the timer stops, the ring vanishes, two lights open at the companion.
    const int secondsLeft = l->timeSprite->seconds;
    EXPECT_FALSE(l->buttonManager->isVisible());
    EXPECT_EQ(ButtonManager::kNoBonus, l->buttonManager->bonusIndex);
    ASSERT_EQ(2u, l->effectManager->getChildrenCount());
    for (auto* light : l->effectManager->getChildren())
        EXPECT_EQ(l->plantBom->getPosition(), light->getPosition());

    // One second later the stage is over.
    step(kFps - 1);
    EXPECT_EQ(0, l->score);
    EXPECT_EQ(secondsLeft, l->timeSprite->seconds);
    step(1);
    EXPECT_EQ(1, l->score);
    EXPECT_EQ(nullptr, l->targetManager);
    EXPECT_EQ(nullptr, l->buttonManager);
    EXPECT_EQ(nullptr, l->answerManager);
    EXPECT_EQ(nullptr, l->timeSprite);
    EXPECT_TRUE(l->planet->isFlying);
    EXPECT_NE(nullptr, l->effectManager);

    // The planet turns green in front of the plant, taking the lights with it ...
    pt->sounds();
    stepUntil([&] { return !l->planet->canHeal; });
    EXPECT_LT(l->planet->getPositionX(), 1152.0f);
    EXPECT_EQ("GameScene/greenPlanet.png", l->planet->getFileName());
    EXPECT_EQ(nullptr, l->effectManager);
    EXPECT_TRUE(pt->findAll<EffectManager>().empty());
    EXPECT_EQ(1, countCalls(pt->sounds(), "playEffect", "Music/magic-cure1.mp3"));

    // ... and the next stage begins in the frame it passes x = -1920.
    stepUntil([&] {
        EXPECT_GE(l->planet->getPositionX(), -1920.0f);
        return l->stageCount != 1;
    });
    // Set up in this frame: the bonus mark must not flash at the origin before it finds its button.
    EXPECT_FALSE(l->bonusEffect->isVisible());
    EXPECT_EQ(Vec2(2880, 540), l->planet->getPosition());
    EXPECT_FALSE(l->planet->isFlying);
    EXPECT_EQ("GameScene/deadPlanet.png", l->planet->getFileName());
    EXPECT_NE(nullptr, l->targetManager);
    EXPECT_EQ(18, l->timeSprite->seconds);
    EXPECT_EQ(0, l->buttonManager->pressCount);
}

TEST_F(RoundTest, CompanionBlushesWhileAnyEnteredPlaceIsWrong) {
    open(0, 3, 0);
    GameLayer* l = layer();
    press(wrongFor(0));
    EXPECT_EQ(kRed, l->plantBom->getColor());
    pt->sounds();
    pressBack();
    EXPECT_EQ(0, l->buttonManager->pressCount);
    EXPECT_FALSE(l->answerManager->answers[0]->isVisible());
    EXPECT_EQ(1, countCalls(pt->sounds(), "playEffect", "Music/cancel5.mp3"));

    press(target(0));
    EXPECT_EQ(kUntinted, l->plantBom->getColor());
    press(wrongFor(1));
    EXPECT_EQ(kRed, l->plantBom->getColor());
    // Right in place 3, but place 2 is still wrong.
    press(target(2));
    EXPECT_EQ(kRed, l->plantBom->getColor());
}

TEST_F(RoundTest, BackWithNothingEnteredOnlyPlaysItsSound) {
    open(0, 3, 0);
    pt->sounds();
    pressBack();
    auto sounds = pt->sounds();
    ASSERT_EQ(1u, sounds.size());
    EXPECT_EQ("Music/cancel5.mp3", sounds[0]["file"]);
    EXPECT_EQ(0, layer()->buttonManager->pressCount);
}

TEST_F(RoundTest, AWrongSixthPlaceIsReplacedByTheSeventhPress) {
    open(0, 3, 0);
    GameLayer* l = layer();
    for (int i = 0; i < 5; ++i)
        press(target(i));
    press(wrongFor(5));
    const Color3B tintBefore = l->plantBom->getColor();
    step(1);
    auto sounds = pt->sounds();
    EXPECT_EQ(0, countCalls(sounds, "playEffect", "Music/shakin1.mp3"));
    EXPECT_TRUE(l->buttonManager->isVisible());
    EXPECT_EQ(tintBefore, l->plantBom->getColor());

    // A seventh press goes into place 6 again, at the highest pitch, and checks the row.
    press(target(5));
    EXPECT_EQ(6, l->buttonManager->pressCount);
    EXPECT_EQ(target(5), l->answerManager->answers[5]->kind);
    sounds = pt->sounds();
    ASSERT_EQ(1u, clickPitches(sounds).size());
    EXPECT_NEAR(1.5f, clickPitches(sounds)[0], 1e-5);
    EXPECT_EQ(1, countCalls(sounds, "playEffect", "Music/shakin1.mp3"));
    EXPECT_FALSE(l->buttonManager->isVisible());
}

TEST_F(RoundTest, BackAfterTheSixthPlaceTakesItBack) {
    open(0, 3, 0);
    GameLayer* l = layer();
    for (int i = 0; i < 5; ++i)
        press(target(i));
    press(wrongFor(5));
    pressBack();
    EXPECT_EQ(5, l->buttonManager->pressCount);
    EXPECT_FALSE(l->answerManager->answers[5]->isVisible());
    EXPECT_TRUE(l->answerManager->answers[4]->isVisible());
    pt->sounds();
    press(target(5));
    EXPECT_NEAR(1.5f, clickPitches(pt->sounds()).at(0), 1e-5);
    EXPECT_TRUE(l->answerManager->answers[5]->isVisible());
    EXPECT_FALSE(l->buttonManager->isVisible());
}

TEST_F(RoundTest, HiddenRingTakesNoPresses) {
    open(0, 3, 0);
    GameLayer* l = layer();
    solveStage();
    pt->sounds();
    ButtonManager* bm = l->buttonManager;
    for (auto* button : bm->buttons)
        pressButton(button);
    pressBack();
    EXPECT_TRUE(pt->sounds().empty());
    EXPECT_EQ(6, bm->pressCount);
    EXPECT_EQ(0, l->score);
}

TEST_F(RoundTest, ARowOfOneRepeatedElementCanBeAnswered) {
    open(0, 3, 0);
    GameLayer* l = layer();
    const int element = l->buttonManager->buttons[0]->kind + 1;
    for (auto* t : l->targetManager->targets)
        t->kind = element;
    for (int i = 0; i < 6; ++i)
        press(element);
    EXPECT_FALSE(l->buttonManager->isVisible());
    step(kFps);
    EXPECT_EQ(1, l->score);
}

TEST_F(RoundTest, BonusButtonPaysTenOnceAndItsMarkFollowsIt) {
    // Look for a stage whose ring carries a bonus.
    GameButton* bonus = nullptr;
    for (int seed = 1; seed < 200 && !bonus; ++seed) {
        pt->execute("seed " + std::to_string(seed));
        open(0, 3, 0);
        const int index = layer()->buttonManager->bonusIndex;
        if (index >= 0 && index < 6)
            bonus = layer()->buttonManager->buttons[index];
        else
            EXPECT_FALSE(layer()->bonusEffect->isVisible());
    }
    ASSERT_NE(nullptr, bonus);
    GameLayer* l = layer();
    EXPECT_TRUE(l->bonusEffect->isVisible());
    EXPECT_FLOAT_EQ(bonus->getPositionX() + 1920 * 0.22f, l->bonusEffect->getPositionX());
    EXPECT_FLOAT_EQ(bonus->getPositionY() + 1080 * 0.23f, l->bonusEffect->getPositionY());

    pressButton(bonus);
    EXPECT_EQ(10, l->score);
    step(1);
    EXPECT_FALSE(l->bonusEffect->isVisible());
    pressButton(bonus);
    EXPECT_EQ(10, l->score);
    EXPECT_EQ(2, l->buttonManager->pressCount);
}
