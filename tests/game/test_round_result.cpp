// The result panel: when each part shows, what it says, the best score, and the way out.
#include "tests/support/test_round_fixture.h"

#include "game/round/HighScoreSprite.h"
#include "game/round/result/ResultGround.h"
#include "game/round/result/ResultHighScoreLabel.h"
#include "game/round/result/ResultScoreLabel.h"
#include "game/round/result/RetryButton.h"
#include "game/round/result/UpgradeButton.h"

USING_NS_CC;

class ResultTest : public RoundTest {
  protected:
    // Plays a round of `stages` solved stages at time level 3, then lets it time out, and
    // stops in the frame the round ends.
    void playAndLose(int coins, int stages) {
        open(coins, 3, 0);
        GameLayer* l = layer();
        for (int s = 0; s < stages; ++s) {
            solveStage();
            const int stage = l->stageCount;
            stepUntil([&] { return l->stageCount != stage; });
            settleRing();
        }
        stepUntil([&] { return !l->timeSprite->isArmed; });
    }
    bool panelPartShown(Node* node) const {
        if (auto* label = dynamic_cast<Label*>(node)) return !label->getString().empty();
        if (auto* sprite = dynamic_cast<Sprite*>(node))
            return !sprite->getFileName().empty() || sprite->getChildrenCount() > 0;
        return false;
    }
};

TEST_F(ResultTest, PanelRevealsItselfAtOneAndAHalfTwoAndTwoAndAHalfSeconds) {
    playAndLose(0, 1);
    GameLayer* l = layer();
    pt->sounds();
    Node* ground = l->resultGround;
    Node* score = l->resultScoreLabel;
    Node* best = l->resultHighScoreLabel;
    Node* retry = l->retryButton;
    Node* shop = l->upgradeButton;

    // Nothing shows before the backdrop, and the round music still plays.
    int waited = 0;
    while (!panelPartShown(ground) && waited < 3 * kFps) {
        for (Node* part : {score, best, retry, shop})
            EXPECT_FALSE(panelPartShown(part));
        EXPECT_EQ(0, countCalls(pt->sounds(), "stopBackgroundMusic", ""));
        step(1);
        ++waited;
    }
    EXPECT_NEAR(1.5 * kFps, waited, 1);
    EXPECT_EQ("GameScene/black2.png", l->resultGround->getFileName());
    EXPECT_EQ(170, l->resultGround->getOpacity());
    EXPECT_EQ(kScreenCentre, l->resultGround->getPosition());
    auto sounds = pt->sounds();
    ASSERT_EQ(2u, sounds.size());
    EXPECT_EQ("stopBackgroundMusic", sounds[0]["call"]);
    EXPECT_EQ("playBackgroundMusic", sounds[1]["call"]);
    EXPECT_EQ("Music/ME048-151031-gameover07-wav.mp3", sounds[1]["file"]);
    EXPECT_FALSE(sounds[1]["loop"].get<bool>());

    // Both lines half a second after the backdrop, both buttons half a second after that.
    step(kFps / 2 - 1);
    EXPECT_FALSE(panelPartShown(score));
    EXPECT_FALSE(panelPartShown(best));
    step(1);
    EXPECT_EQ("Score  1", l->resultScoreLabel->getString());
    EXPECT_EQ("HighScore  1", l->resultHighScoreLabel->getString());
    EXPECT_EQ(Vec2(960, 864), l->resultScoreLabel->getPosition());
    EXPECT_EQ(Vec2(960, 648), l->resultHighScoreLabel->getPosition());
    EXPECT_EQ(Color3B::GREEN, l->resultScoreLabel->getColor());
    EXPECT_EQ(Color3B::GREEN, l->resultHighScoreLabel->getColor());

    step(kFps / 2 - 1);
    EXPECT_FALSE(panelPartShown(retry));
    EXPECT_FALSE(panelPartShown(shop));
    step(1);
    EXPECT_TRUE(panelPartShown(retry));
    EXPECT_TRUE(panelPartShown(shop));
    for (Node* button : {retry, shop})
        EXPECT_FLOAT_EQ(0.8f, button->getChildren().front()->getScale());
}

TEST_F(ResultTest, NewBestIsSavedAndBringsThePulsingBadge) {
    cocos2d::UserDefault::getInstance()->setIntegerForKey("HS", 1);
    playAndLose(0, 2);
    GameLayer* l = layer();
    stepUntil([&] { return !l->resultHighScoreLabel->getString().empty(); });
    EXPECT_EQ(2, pt->store()["HS"]);
    EXPECT_EQ("HighScore  2", l->resultHighScoreLabel->getString());
    HighScoreSprite* badge = l->highScoreSprite;
    EXPECT_EQ("GameScene/newHighScore.png", badge->getFileName());
    EXPECT_EQ(Vec2(192, 648), badge->getPosition());
    // It swells from 0.3 to 0.4 first, then shrinks back.
    step(30);
    EXPECT_FLOAT_EQ(0.4f, badge->getScale());
    step(30);
    EXPECT_FLOAT_EQ(0.3f, badge->getScale());
}

// A game killed between the round's end and its result keeps the best score with the coins.
TEST_F(ResultTest, TheBestIsBankedWithTheCoinsBeforeThePanelShowsIt) {
    cocos2d::UserDefault::getInstance()->setIntegerForKey("HS", 1);
    playAndLose(0, 2);
    step(1);
    EXPECT_TRUE(layer()->resultHighScoreLabel->getString().empty());
    EXPECT_EQ(2, pt->store()["roundWinnings"]);
    EXPECT_EQ(2, pt->store()["HS"]);
    EXPECT_FALSE(cocos2d::UserDefault::getInstance()->hasPendingWrites()) << "not committed with the coins";
}

TEST_F(ResultTest, OnlyAStrictlyBetterRoundIsANewBest) {
    struct Case {
        int stored; // -1: never saved
        int stages;
        int shown;
    };
    for (const Case c : {Case{-1, 0, 0}, Case{1, 1, 1}, Case{9, 1, 9}}) {
        if (c.stored >= 0) cocos2d::UserDefault::getInstance()->setIntegerForKey("HS", c.stored);
        playAndLose(0, c.stages);
        step(3 * kFps);
        GameLayer* l = layer();
        EXPECT_EQ("Score  " + std::to_string(c.stages), l->resultScoreLabel->getString());
        EXPECT_EQ("HighScore  " + std::to_string(c.shown), l->resultHighScoreLabel->getString());
        EXPECT_TRUE(l->highScoreSprite->getFileName().empty()) << "no badge for a best of " << c.stored;
        if (c.stored < 0)
            EXPECT_FALSE(pt->store().contains("HS"));
        else
            EXPECT_EQ(c.stored, pt->store()["HS"]);
    }
}

TEST_F(ResultTest, RetryStartsANewRoundWithTheBankedCoins) {
    playAndLose(12, 1);
    GameLayer* old = layer();
    const int banked = pt->store()["scoreMoney"];
    EXPECT_EQ(12 + old->score, banked);
    step(150);
    pt->sounds();
    tap(Spot::kRetry);
    EXPECT_EQ(1, countCalls(pt->sounds(), "playEffect", "Music/botton.mp3"));
    step(kFps + 2);
    GameLayer* fresh = layer();
    ASSERT_NE(nullptr, fresh);
    EXPECT_NE(old, fresh);
    EXPECT_EQ(0, fresh->score);
    EXPECT_EQ(0, fresh->lives);
    EXPECT_EQ(banked, pt->store()["scoreMoney"]);
    EXPECT_EQ(3, pt->store()["gaug1"]);
    EXPECT_EQ(0, pt->store()["gaug2"]);
    EXPECT_EQ(1, fresh->stageCount);
}

TEST_F(ResultTest, ShopButtonLeavesForTheShop) {
    playAndLose(5, 0);
    step(150);
    tap(Spot::kGoShop);
    step(kFps + 2);
    EXPECT_EQ(nullptr, layer());
    EXPECT_EQ("UpgradeScene", pt->tree()["type"]);
}
