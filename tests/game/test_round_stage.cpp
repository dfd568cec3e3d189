// Building a round and its stages: saved keys, the target row, the ring of buttons, the
// per-stage time allowance and the obstruction threshold.
#include "tests/support/test_round_fixture.h"

#include "game/figures/PlantBom.h"
#include "game/figures/Player.h"
#include "game/round/JiyamaSprite.h"

#include <algorithm>
#include <set>

USING_NS_CC;

TEST_F(RoundTest, OpeningARoundSavesItsProgressAndWalksTheActorsIn) {
    pt->execute("open game 37 2 1");
    auto store = pt->store();
    EXPECT_EQ(37, store["scoreMoney"]);
    EXPECT_EQ(2, store["gaug1"]);
    EXPECT_EQ(1, store["gaug2"]);

    auto sounds = pt->sounds();
    EXPECT_EQ(1, countCalls(sounds, "playBackgroundMusic", "Music/Mu Judetudi 160626-234500.mp3"));
    for (const auto& s : sounds) {
        if (s["call"] == "playBackgroundMusic") {
            EXPECT_TRUE(s["loop"].get<bool>());
        }
    }

    GameLayer* l = layer();
    EXPECT_EQ(1, l->lives);
    EXPECT_EQ(0, l->score);
    EXPECT_EQ(1, l->stageCount);
    EXPECT_LT(l->player->getPositionX(), 0.0f);
    step(kFps);
    EXPECT_EQ(Vec2(960, 540), l->player->getPosition());
    EXPECT_EQ(Vec2(1056, 540), l->plantBom->getPosition());
}

TEST_F(RoundTest, TargetRowHoldsSixElementsGrowingInFromTheLeft) {
    pt->execute("open game 0 0 0");
    TargetManager* tm = layer()->targetManager;
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(TargetSprite::isElement(tm->targets[i]->kind));
        EXPECT_EQ(TargetSprite::plainImage(tm->targets[i]->kind), tm->targets[i]->getFileName());
        EXPECT_FLOAT_EQ(972.0f, tm->targets[i]->getPositionY());
    }
    EXPECT_FLOAT_EQ(576.0f, tm->targets[0]->getPositionX());
    EXPECT_FLOAT_EQ(1344.0f, tm->targets[5]->getPositionX());

    // 0.2 s per place: the leftmost is full grown after 12 frames, the rightmost after 72.
    step(11);
    EXPECT_LT(tm->targets[0]->getScale(), 0.5f);
    step(1);
    EXPECT_FLOAT_EQ(0.5f, tm->targets[0]->getScale());
    EXPECT_LT(tm->targets[5]->getScale(), 0.5f);
    step(60);
    EXPECT_FLOAT_EQ(0.5f, tm->targets[5]->getScale());
}

TEST_F(RoundTest, RingShowsSixDifferentElementsAndNeverRedrawsButtonZero) {
    // Many draws, so that collisions on the ring certainly occur.
    for (int round = 0; round < 30; ++round) {
        pt->execute("seed " + std::to_string(100 + round));
        pt->execute("open game 0 0 0");
        ButtonManager* bm = layer()->buttonManager;
        const int first = bm->buttons[0]->kind;
        // Each colliding button draws again every frame until no two are equal.
        const int frames = settleRing();
        EXPECT_LT(frames, 3 * kFps);
        int before[6];
        for (int i = 0; i < 6; ++i)
            before[i] = bm->buttons[i]->kind;
        step(kFps);
        std::set<int> kinds;
        for (int i = 0; i < 6; ++i) {
            kinds.insert(bm->buttons[i]->kind);
            EXPECT_EQ(before[i], bm->buttons[i]->kind) << "a settled ring changed";
            EXPECT_EQ(bm->buttonKinds[i], bm->buttons[i]->kind);
            // The menu on top, which takes the press, shows the button's element.
            auto* item = dynamic_cast<MenuItemImage*>(itemOf(bm->buttons[i]));
            ASSERT_NE(nullptr, item);
            EXPECT_EQ(TargetSprite::plainImage(bm->buttons[i]->kind + 1), item->getNormalFile());
        }
        EXPECT_EQ(6u, kinds.size());
        EXPECT_EQ(first, bm->buttons[0]->kind);
    }
}

TEST_F(RoundTest, ObstructionsNeedARollAboveTheThreshold) {
    pt->execute("open game 0 0 0");
    // The first stage can never be covered: the roll is at most 100.
    EXPECT_EQ(100, layer()->jiyamaThreshold);
    EXPECT_TRUE(pt->findAll<JiyamaSprite>().empty());

    for (int tries = 0; tries < 20; ++tries) {
        auto* even = TargetManager::create();
        even->addJiyamas(even->jNo);
        EXPECT_EQ(6u, even->getChildrenCount()) << "a roll equal to the threshold builds nothing";
        if (even->jNo == 0) continue;
        auto* above = TargetManager::create();
        above->jNo = even->jNo;
        above->addJiyamas(even->jNo - 1);
        ASSERT_EQ(12u, above->getChildrenCount());
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(above->targets[i]->getPosition(), above->jiyamas[i]->getPosition());
            EXPECT_EQ(2, above->jiyamas[i]->getLocalZOrder());
        }
        return;
    }
}

TEST_F(RoundTest, ObstructionFlickersThroughItsPictures) {
    pt->execute("open game 0 0 0");
    auto* jiyama = JiyamaSprite::create();
    layer()->addChild(jiyama, 20);
    step(1);
    EXPECT_EQ("GameScene/jiyama0.png", jiyama->getFileName());
    step(17);
    std::set<std::string> seen;
    for (int i = 0; i < 60 * 30; ++i) {
        // Each frame shows the number drawn up to its start; a new draw shows the frame after.
        const int drawn = jiyama->jiyamaNo;
        step(1);
        seen.insert(jiyama->getFileName());
        EXPECT_EQ("GameScene/jiyama" + std::to_string(drawn) + ".png", jiyama->getFileName());
        EXPECT_GE(jiyama->jiyamaNo, 1);
        EXPECT_LE(jiyama->jiyamaNo, 15);
    }
    EXPECT_GT(seen.size(), 10u);
}

TEST_F(RoundTest, ThresholdFallsByOneAStageDownToTen) {
    pt->execute("open game 0 0 0");
    GameLayer* l = layer();
    for (int stage = 2; stage <= 95; ++stage) {
        l->clearStage();
        l->setUpStage();
        EXPECT_EQ(stage, l->stageCount);
        EXPECT_EQ(std::max(10, 101 - stage), l->jiyamaThreshold);
    }
}

namespace {
struct Allowance {
    int timeLevel;
    int first; // seconds in stage 1
    int sixteenth;
};
} // namespace

TEST_F(RoundTest, StageTimeShrinksPerStageToAFloorOfFour) {
    const Allowance cases[] = {{0, 4, 4}, {1, 7, 4}, {2, 12, 4}, {3, 19, 4}, {7, 4, 4}, {-1, 4, 4}};
    for (const auto& c : cases) {
        pt->execute("open game 0 " + std::to_string(c.timeLevel) + " 0");
        GameLayer* l = layer();
        EXPECT_EQ(c.first, l->timeSprite->seconds) << "level " << c.timeLevel;
        int previous = l->timeSprite->seconds;
        for (int stage = 2; stage <= 16; ++stage) {
            l->clearStage();
            l->setUpStage();
            const int now = l->timeSprite->seconds;
            EXPECT_EQ(previous > 4 ? previous - 1 : 4, now) << "level " << c.timeLevel << " stage " << stage;
            previous = now;
        }
        EXPECT_EQ(c.sixteenth, previous);
    }
}
