// The round's actors and scenery: the planet's pass, the ground, the stars, the score label
// and the stage-clear lights.
#include "tests/support/test_round_fixture.h"

#include "game/figures/PlantBom.h"
#include "game/figures/SpeedGround.h"
#include "game/figures/Star.h"
#include "game/figures/StarManager.h"
#include "game/round/EffectManager.h"
#include "game/round/Planet.h"
#include "game/round/ScoreLabel.h"

#include <algorithm>

USING_NS_CC;

TEST_F(RoundTest, PlanetTurnsGreenOnlyPastTheLineAndOncePerPass) {
    open(0, 3, 0);
    Planet* planet = layer()->planet;

    planet->setPositionX(1152.0f);
    step(1);
    EXPECT_TRUE(planet->canHeal) << "standing on the line is not past it";
    EXPECT_EQ("GameScene/deadPlanet.png", planet->getFileName());

    planet->setPositionX(1151.9f);
    step(1);
    EXPECT_FALSE(planet->canHeal);
    EXPECT_EQ("GameScene/greenPlanet.png", planet->getFileName());
    EXPECT_FLOAT_EQ(6.0f, planet->speed);
    step(kFps);
    EXPECT_FLOAT_EQ(30.0f, planet->speed);

    pt->sounds();
    planet->setPositionX(1000.0f);
    step(2);
    EXPECT_EQ(0, countCalls(pt->sounds(), "playEffect", "Music/magic-cure1.mp3"));
}

TEST_F(RoundTest, FlyPastMovesAFixedStepPerFrame) {
    open(0, 3, 0);
    Planet* planet = layer()->planet;
    planet->startFlyPast();
    // 25 units a frame from 2880: below 1152 on the 70th frame.
    step(69);
    EXPECT_TRUE(planet->canHeal);
    EXPECT_FLOAT_EQ(2880.0f - 69 * 25.0f, planet->getPositionX());
    step(1);
    EXPECT_FALSE(planet->canHeal);
}

TEST_F(RoundTest, GroundScrollsAndWrapsOnItsFramesWhileTheCloudPulsesInPlace) {
    // Tiles start at 960 and 2880 and move 20 a frame; one that passes below -960 is put back
    // at 2880 in that frame. The cloud fades to 20 in a second and back in a second.
    pt->execute("open game 0 3 0");
    GameLayer* l = layer();
    EXPECT_EQ(l->timeSprite->getPosition(), Vec2(1632, 540));
    struct {
        int frame, cloud; // -1: not looked at
        float a, b;
    } rows[] = {{0, 255, 960, 2880},   {1, -1, 940, 2860},  {30, 138, 360, 2280}, {60, 20, -240, 1680},
                {90, 138, -840, 1080}, {96, -1, -960, 960}, {97, -1, 2880, 940},  {120, 255, 2420, 480}};
    for (int frame = 0; const auto& r : rows) {
        step(r.frame - std::exchange(frame, r.frame));
        EXPECT_TRUE(r.cloud < 0 || l->timeSprite->getOpacity() == r.cloud) << r.frame;
        EXPECT_EQ(l->speedGround->groundA->getPosition(), Vec2(r.a, 540)) << r.frame;
        EXPECT_EQ(l->speedGround->groundB->getPosition(), Vec2(r.b, 540)) << r.frame;
    }
}

TEST_F(RoundTest, StarsStayInsideTheSky) {
    open(0, 3, 0);
    auto stars = pt->findAll<Star>();
    ASSERT_EQ(20u, stars.size());
    for (int frame = 0; frame < 10 * kFps; frame += 7) {
        for (Star* star : stars) {
            ASSERT_GE(star->getPositionX(), 1.0f);
            ASSERT_LE(star->getPositionX(), 1920.0f);
            ASSERT_GE(star->getPositionY(), 1.0f);
            ASSERT_LE(star->getPositionY(), 1080.0f);
            const auto& c = star->getColor();
            ASSERT_GE(std::min({c.r, c.g, c.b}), 170);
        }
        step(7);
    }
}

TEST_F(RoundTest, ScoreLabelFollowsTheScoreInTheNextFrame) {
    pt->execute("open game 0 3 0");
    ScoreLabel* label = pt->find<ScoreLabel>();
    EXPECT_EQ("", label->getString());
    step(1);
    EXPECT_EQ("0", label->getString());
    EXPECT_EQ(Color3B::GREEN, label->getColor());
    layer()->addBonusScore();
    layer()->addScore();
    layer()->addScore();
    EXPECT_EQ("0", label->getString());
    step(1);
    EXPECT_EQ("12", label->getString());
}

TEST_F(RoundTest, StageClearLightsOpenAndSpinOppositeWaysWhereTheCompanionWas) {
    open(0, 3, 0);
    GameLayer* l = layer();
    const Vec2 spot(700, 300);
    l->plantBom->setPosition(spot);
    l->effectManager->startStageClear();
    l->plantBom->setPosition(Vec2(100, 100));
    step(30);
    const auto& lights = l->effectManager->getChildren();
    ASSERT_EQ(2u, lights.size());
    for (auto* light : lights) {
        EXPECT_EQ(spot, light->getPosition());
        EXPECT_FLOAT_EQ(1.0f, light->getScale());
    }
    EXPECT_GT(lights[0]->getRotation(), 0.0f);
    EXPECT_LT(lights[1]->getRotation(), 0.0f);
    // Still turning long after the first spin is over.
    const float before = lights[0]->getRotation();
    step(11 * kFps);
    EXPECT_NE(before, lights[0]->getRotation());
}
