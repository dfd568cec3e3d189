// The whole loop: title, shop, cut-scene, round, result panel and back, with what the
// progress looks like at every hand-over and across a restart of the program.
#include "BarrierField.h"
#include "ButtonManager.h"
#include "EventLayer.h"
#include "EventScene.h"
#include "GameButton.h"
#include "GameLayer.h"
#include "GameScene.h"
#include "PriceTime.h"
#include "RetryButton.h"
#include "StartButton.h"
#include "TargetManager.h"
#include "TargetSprite.h"
#include "TimeSprite.h"
#include "TitleScene.h"
#include "UpgradeButton.h"
#include "UpgradeLayer.h"
#include "UpgradeLifeNode.h"
#include "UpgradeNode.h"
#include "UpgradeScene.h"
#include "UpgradeScore.h"
#include "test_loop_fixture.h"

namespace {

// Stage time at each time level before the round's own reduction, one second per stage.
constexpr int kBaseSeconds[] = {5, 8, 13, 20};

class WholeLoopTest : public LoopTest {
protected:
    template <typename SceneT> SceneT* arriveAt() {
        for (int n = 0; n < 15 * kFps && !fadingTo(); ++n) pt->step(1);
        EXPECT_TRUE(dynamic_cast<SceneT*>(fadingTo()));
        // A round's clock already runs under the fade; keep the count it started with.
        if (auto* round = dynamic_cast<GameScene*>(fadingTo())) firstStageSeconds = round->gameLayer->timeSprite->seconds;
        finishFade();
        return dynamic_cast<SceneT*>(pt->runningScene());
    }
    UpgradeLayer* shop() const { return pt->find<UpgradeLayer>(); }
    GameLayer* round() const { return pt->find<GameLayer>(); }
    static cocos2d::Node* onlyButton(cocos2d::Node* holder) {
        return holder->getChildren().back()->getChildren().front();
    }

    void tapTitle() {
        ASSERT_TRUE(dynamic_cast<TitleScene*>(pt->runningScene()));
        pt->step(2);
        pt->tap(960, 300);
        ASSERT_TRUE(arriveAt<UpgradeScene>());
        pt->step(1);
    }
    void pressStart() {
        press(onlyButton(shop()->startButton));
        ASSERT_TRUE(arriveAt<EventScene>());
    }
    void skipCutScene() {
        seconds(1);
        pt->tap(960, 540);
        ASSERT_TRUE(arriveAt<GameScene>());
    }
    void watchCutScene() { ASSERT_TRUE(arriveAt<GameScene>()); }

    // Presses the six targets in order on the element buttons; false if one was missing.
    bool solveStage() {
        GameLayer* layer = round();
        for (int i = 0; i < TargetManager::kPlaces; ++i) {
            const int wanted = layer->targetManager->targets[i]->kind;
            GameButton* button = nullptr;
            for (GameButton* b : layer->buttonManager->buttons)
                if (b->kind + 1 == wanted) button = b;
            if (!button) return false;
            press(onlyButton(button));
            pt->step(1);
        }
        return true;
    }
    // Waits for the next stage to be set up and settle.
    void nextStage(int stage) {
        for (int n = 0; n < 20 * kFps && round()->stageCount < stage; ++n) pt->step(1);
        ASSERT_EQ(round()->stageCount, stage);
        seconds(1);
    }
    // Lets the timer run out until the result panel offers its buttons.
    void loseRound() {
        GameLayer* layer = round();
        for (int n = 0; n < 120 * kFps && layer->upgradeButton->getChildrenCount() == 0; ++n) pt->step(1);
        ASSERT_GT(layer->retryButton->getChildrenCount(), 0u);
        ASSERT_GT(layer->upgradeButton->getChildrenCount(), 0u);
        pt->step(1);
    }
    void expectRoundStartedWith(int coins, int timeLevel, int lifeLevel) {
        GameLayer* layer = round();
        ASSERT_TRUE(layer);
        EXPECT_EQ(intKey("scoreMoney"), coins);
        EXPECT_EQ(intKey("gaug1"), timeLevel);
        EXPECT_EQ(intKey("gaug2"), lifeLevel);
        EXPECT_EQ(layer->lives, lifeLevel);
        EXPECT_EQ(layer->stageCount, 1);
        EXPECT_EQ(firstStageSeconds, std::max(4, kBaseSeconds[timeLevel] - 1));
    }
    int firstStageSeconds = -1;
};

} // namespace

TEST_F(WholeLoopTest, FirstRunStartsARoundWithNothing) {
    tapTitle();
    EXPECT_EQ(shop()->upgradeScore->getString(), "0000");
    pressStart();
    watchCutScene();
    pt->step(1);
    expectRoundStartedWith(0, 0, 0);
    pt->step(1);
    EXPECT_FALSE(pt->find<BarrierField>()->isVisible());
    EXPECT_EQ(intKey("HS"), 0);
}

TEST_F(WholeLoopTest, PurchasesReachTheRoundThroughTheCutScene) {
    pt->execute("open shop 1000");
    pt->step(1);
    press(shop()->upgradeNode->iconItem);
    press(shop()->upgradeNode->plateItem);
    press(shop()->upgradeLifeNode->iconItem);
    press(shop()->upgradeLifeNode->plateItem);
    pressStart();
    skipCutScene();
    pt->step(1);
    expectRoundStartedWith(1000 - 5 - 25 - 100 - 200, 2, 2);
    // Two extra lives: the barrier is yellow.
    const cocos2d::Color3B barrier = pt->find<BarrierField>()->getColor();
    EXPECT_EQ(barrier.r, barrier.g);
    EXPECT_LT(barrier.b, barrier.r);
}

TEST_F(WholeLoopTest, TheLoopTwiceWithARestartInBetween) {
    // First run: title, shop, the whole cut-scene, a round that scores.
    tapTitle();
    pressStart();
    watchCutScene();
    pt->step(1);
    expectRoundStartedWith(0, 0, 0);
    seconds(1);
    const int stages = 5;
    for (int stage = 1; stage <= stages; ++stage) {
        if (stage > 1) nextStage(stage);
        ASSERT_TRUE(solveStage()) << "stage " << stage;
    }
    nextStage(stages + 1);
    const int score = round()->score;
    ASSERT_GE(score, stages);
    loseRound();
    EXPECT_EQ(intKey("scoreMoney"), score);
    EXPECT_EQ(intKey("HS"), score);

    // The result panel's shop button brings the banked coins into the shop.
    press(onlyButton(round()->upgradeButton));
    ASSERT_TRUE(arriveAt<UpgradeScene>());
    pt->step(1);
    EXPECT_EQ(intKey("coinScore"), score);
    press(shop()->upgradeNode->iconItem);
    pressStart();
    skipCutScene();
    pt->step(1);
    expectRoundStartedWith(score - 5, 1, 0);

    // Quit in the middle of the round, then play the loop again.
    restart();
    tapTitle();
    EXPECT_EQ(intKey("coinScore"), score - 5);
    EXPECT_EQ(shop()->upgradeNode->iconItem->getNormalFile(), "UpGradeScene/timeFive.png");
    EXPECT_EQ(shop()->priceTime->getString(), "25");
    pressStart();
    skipCutScene();
    pt->step(1);
    expectRoundStartedWith(score - 5, 1, 0);
    loseRound();

    // Retry keeps the round's own coins and levels; no shop, no cut-scene on the way.
    press(onlyButton(round()->retryButton));
    ASSERT_TRUE(arriveAt<GameScene>());
    pt->step(1);
    expectRoundStartedWith(score - 5, 1, 0);
    loseRound();
    press(onlyButton(round()->upgradeButton));
    ASSERT_TRUE(arriveAt<UpgradeScene>());
    pt->step(1);
    EXPECT_EQ(intKey("coinScore"), score - 5);
    EXPECT_EQ(intKey("timeNo"), 1);
    EXPECT_EQ(intKey("HS"), score);
}
