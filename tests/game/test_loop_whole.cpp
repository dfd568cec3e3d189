// The whole loop: title, shop, cut-scene, round, result panel and back, with the progress at
// every hand-over and across a restart of the program.
#include "game/event/EventScene.h"
#include "game/round/BarrierField.h"
#include "game/round/GameLayer.h"
#include "game/round/GameScene.h"
#include "game/round/TimeSprite.h"
#include "game/round/result/UpgradeButton.h"
#include "game/shop/PriceTime.h"
#include "game/shop/UpgradeLayer.h"
#include "game/shop/UpgradeNode.h"
#include "game/shop/UpgradeScene.h"
#include "game/shop/UpgradeScore.h"
#include "game/title/TitleScene.h"
#include "harness/soak/StoreFile.h"
#include "tests/support/test_loop_fixture.h"

#include <sqlite3.h>

namespace {

// A stage's seconds at each time level before the round takes one off per stage.
constexpr int kBaseSeconds[] = {5, 8, 13, 20};

class WholeLoopTest : public LoopTest {
  protected:
    UpgradeLayer* shop() const { return pt->find<UpgradeLayer>(); }
    GameLayer* round() const { return pt->find<GameLayer>(); }

    void fromTitleToShop() {
        ASSERT_TRUE(dynamic_cast<TitleScene*>(pt->runningScene()));
        pt->step(2);
        pt->tap(960, 300);
        ASSERT_TRUE(arriveAt<UpgradeScene>());
        pt->step(1);
    }
    // Start, then the cut-scene to its end or skipped after a second; the round has begun.
    void startRound(bool skip) {
        tap(Spot::kStart);
        ASSERT_TRUE(arriveAt<EventScene>());
        if (skip) {
            seconds(1);
            pt->tap(960, 540);
        }
        ASSERT_GT(framesUntilFade(), 0);
        // The round's clock already runs under the fade: keep the count it started with.
        auto* next = dynamic_cast<GameScene*>(fadingTo());
        ASSERT_TRUE(next);
        firstSeconds = next->gameLayer->timeSprite->seconds;
        framesOfFade();
        pt->step(1);
    }
    void expectRoundStartedWith(int coins, int timeLevel, int lifeLevel) {
        ASSERT_TRUE(round());
        EXPECT_EQ(intKey("scoreMoney"), coins);
        EXPECT_EQ(intKey("gaug1"), timeLevel);
        EXPECT_EQ(intKey("gaug2"), lifeLevel);
        EXPECT_EQ(round()->lives, lifeLevel);
        EXPECT_EQ(firstSeconds, std::max(4, kBaseSeconds[timeLevel] - 1));
    }
    // Presses the six targets in order on the element buttons, then waits for the next stage.
    void solveStage() {
        const int stage = round()->stageCount;
        ASSERT_EQ(pt->execute("solve"), "ok");
        ASSERT_EQ(pt->execute("wait stage " + std::to_string(stage + 1)), "ok");
        seconds(1);
    }
    // Lets the timer run out until the result panel offers its buttons.
    void loseRound() {
        GameLayer* layer = round();
        for (int n = 0; n < 120 * kFps && layer->upgradeButton->getChildrenCount() == 0; ++n)
            pt->step(1);
        ASSERT_GT(layer->upgradeButton->getChildrenCount(), 0u);
        pt->step(1);
    }
    int firstSeconds = -1;
};

} // namespace

TEST_F(WholeLoopTest, PurchasesReachTheRoundThroughTheCutScene) {
    pt->execute("open shop 1000");
    pt->step(1);
    for (const auto& at : {Spot::kTimeIcon, Spot::kTimePlate, Spot::kLifeIcon, Spot::kLifePlate})
        tap(at);
    startRound(true);
    expectRoundStartedWith(1000 - 5 - 25 - 100 - 200, 2, 2);
    const cocos2d::Color3B barrier = pt->find<BarrierField>()->getColor(); // two lives: yellow
    EXPECT_EQ(barrier.r, barrier.g);
    EXPECT_LT(barrier.b, barrier.r);
}

TEST_F(WholeLoopTest, TheLoopTwiceWithARestartInBetween) {
    // First run on an empty store: nothing to spend, and a round that scores.
    fromTitleToShop();
    EXPECT_EQ(shop()->upgradeScore->getString(), "0000");
    startRound(false);
    expectRoundStartedWith(0, 0, 0);
    EXPECT_FALSE(pt->find<BarrierField>()->isVisible());
    seconds(1);
    for (int stage = 1; stage <= 5; ++stage)
        ASSERT_NO_FATAL_FAILURE(solveStage()) << "stage " << stage;
    const int score = round()->score;
    ASSERT_GE(score, 5);
    loseRound();
    EXPECT_EQ(intKey("scoreMoney"), score);
    EXPECT_EQ(intKey("HS"), score);

    // The result panel's shop button brings the banked coins into the shop.
    tap(Spot::kGoShop);
    ASSERT_TRUE(arriveAt<UpgradeScene>());
    pt->step(1);
    EXPECT_EQ(intKey("coinScore"), score);
    tap(Spot::kTimeIcon);
    startRound(true);
    expectRoundStartedWith(score - 5, 1, 0);

    // Quit in the middle of the round; the second run finds the shop as it was left.
    restart();
    fromTitleToShop();
    EXPECT_EQ(intKey("coinScore"), score - 5);
    EXPECT_EQ(shop()->upgradeNode->iconItem->getNormalFile(), "UpGradeScene/timeFive.png");
    EXPECT_EQ(shop()->priceTime->getString(), "25");
    startRound(true);
    expectRoundStartedWith(score - 5, 1, 0);
    loseRound();

    // Retry keeps the round's own coins and levels, with no shop and no cut-scene between.
    tap(Spot::kRetry);
    ASSERT_TRUE(arriveAt<GameScene>());
    EXPECT_EQ(intKey("scoreMoney"), score - 5);
    EXPECT_EQ(round()->lives, 0);
    loseRound();
    tap(Spot::kGoShop);
    ASSERT_TRUE(arriveAt<UpgradeScene>());
    pt->step(1);
    EXPECT_EQ(intKey("coinScore"), score - 5);
    EXPECT_EQ(intKey("HS"), score);

    // The title button leaves the store as it is.
    const auto before = pt->store();
    tap(Spot::kTitle);
    ASSERT_TRUE(arriveAt<TitleScene>());
    EXPECT_EQ(pt->store(), before);
}

TEST_F(WholeLoopTest, AFinishedRoundsCoinsReachTheShopOnceHoweverTheResultIsLeft) {
    pt->execute("open shop 300");
    pt->step(1);
    startRound(true);
    ASSERT_NO_FATAL_FAILURE(solveStage());
    loseRound();
    const int first = round()->score;
    ASSERT_GT(first, 0);

    // Closed on the result panel: the next shop, reached from the title, has the coins.
    restart();
    fromTitleToShop();
    EXPECT_EQ(intKey("coinScore"), 300 + first);
    // Spent, then closed in the shop: the old round's balance gives nothing back.
    tap(Spot::kTimeIcon);
    restart();
    fromTitleToShop();
    EXPECT_EQ(intKey("coinScore"), 300 + first - 5);

    // Played on with retry, then closed: both rounds count.
    startRound(true);
    ASSERT_NO_FATAL_FAILURE(solveStage());
    loseRound();
    const int second = round()->score;
    tap(Spot::kRetry);
    ASSERT_TRUE(arriveAt<GameScene>());
    loseRound();
    restart();
    fromTitleToShop();
    const int balance = 300 + first - 5 + second;
    EXPECT_EQ(intKey("coinScore"), balance);

    // Through the shop button they count once, not again at the next start.
    startRound(true);
    ASSERT_NO_FATAL_FAILURE(solveStage());
    loseRound();
    const int third = round()->score;
    tap(Spot::kGoShop);
    ASSERT_TRUE(arriveAt<UpgradeScene>());
    restart();
    fromTitleToShop();
    EXPECT_EQ(intKey("coinScore"), balance + third);
}

// Another program held the save when the game started: it plays on defaults, and once the save
// can be read the player finds all of it, the round played meanwhile added. The game itself, not
// the test, puts the two together.
TEST_F(WholeLoopTest, ASaveReadLateKeepsEverythingAndGainsTheRoundPlayedMeanwhile) {
    pt.reset();
    // Last time: a round closed on its result panel (its 40 coins not in the balance yet), and
    // the time upgrade sold out.
    const std::string store = StoreFile::pathIn(dataHome);
    ASSERT_TRUE(StoreFile::write(
        store, {{"coinScore", 300}, {"roundWinnings", 40}, {"timeNo", 3}, {"HS", 50}}, {{"Button1", true}}));
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(store.c_str(), &other));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT;",
                                      nullptr, nullptr, nullptr));
    start();
    fromTitleToShop();
    EXPECT_EQ(shop()->upgradeScore->getString(), "0000") << "read at start after all";
    startRound(true);
    seconds(1);
    ASSERT_NO_FATAL_FAILURE(solveStage());
    const int score = round()->score;
    ASSERT_GE(score, 1);
    loseRound();

    sqlite3_close(other);
    seconds(3);
    tap(Spot::kGoShop);
    ASSERT_TRUE(arriveAt<UpgradeScene>());
    pt->step(1);
    EXPECT_EQ(shop()->upgradeScore->getString(), "0" + std::to_string(340 + score));
    EXPECT_EQ(shop()->priceTime->getString(), "MAX");
    restart();
    EXPECT_EQ(intKey("coinScore"), 340 + score);
    EXPECT_EQ(intKey("HS"), 50);
    EXPECT_TRUE(boolKey("Button1"));
}
