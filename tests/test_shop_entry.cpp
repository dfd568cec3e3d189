// Entering the shop (the balance rule and its cap) and leaving it by its two buttons.
#include "EventScene.h"
#include "PriceLife.h"
#include "PriceTime.h"
#include "StartButton.h"
#include "TitleButton.h"
#include "TitleScene.h"
#include "UpgradeLayer.h"
#include "UpgradeLifeNode.h"
#include "UpgradeNode.h"
#include "UpgradeScore.h"
#include "test_loop_fixture.h"

namespace {

class ShopEntryTest : public LoopTest {
protected:
    UpgradeLayer* shop() const { return pt->find<UpgradeLayer>(); }
    std::string balanceShown() const { return shop()->upgradeScore->getString(); }
    void enterShop(int coins) {
        pt->execute("open shop " + std::to_string(coins));
        pt->step(1);
    }
    // The only button item under a holder node.
    cocos2d::Node* buttonOf(cocos2d::Node* holder) const { return holder->getChildren()[0]->getChildren()[0]; }
};

struct EntryCase {
    int savedBefore; // -1: the shop was never entered
    int entering;
    int stored;
    const char* shown;
};

class EntryBalanceTest : public ShopEntryTest, public ::testing::WithParamInterface<EntryCase> {};

} // namespace

TEST_P(EntryBalanceTest, BalanceFollowsTheEntryRule) {
    const EntryCase& c = GetParam();
    if (c.savedBefore >= 0) enterShop(c.savedBefore);
    enterShop(c.entering);
    EXPECT_EQ(intKey("coinScore"), c.stored);
    EXPECT_EQ(balanceShown(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Entries, EntryBalanceTest,
                         ::testing::Values(EntryCase{-1, 0, 0, "0000"},         // first run
                                           EntryCase{150, 0, 150, "0150"},      // zero keeps the balance
                                           EntryCase{150, 42, 42, "0042"},      // anything else replaces it
                                           EntryCase{-1, 10000, 10000, "10000"},
                                           EntryCase{-1, 10001, 9999, "9999"},
                                           EntryCase{-1, 250000, 9999, "9999"}));

TEST_F(ShopEntryTest, FirstRunOpensWithEverythingAtZero) {
    enterShop(0);
    EXPECT_EQ(shop()->priceTime->getString(), "5");
    EXPECT_EQ(shop()->priceLife->getString(), "100");
    EXPECT_FALSE(boolKey("Button1"));
    EXPECT_FALSE(boolKey("Button2"));
    EXPECT_EQ(intKey("timeNo"), 0);
    EXPECT_EQ(intKey("lifeNo"), 0);
}

TEST_F(ShopEntryTest, StartButtonCarriesTheBalanceAndLevelsOfTheMomentOfThePress) {
    enterShop(300);
    pt->sounds();
    press(shop()->upgradeNode->iconItem);  // 5
    press(shop()->upgradeNode->iconItem);  // 25
    press(shop()->upgradeLifeNode->iconItem); // 100
    press(buttonOf(shop()->startButton));
    EXPECT_EQ(soundFiles("playEffect").back(), "Music/botton.mp3");
    pt->step(1);
    ASSERT_TRUE(dynamic_cast<EventScene*>(fadingTo()));
    EXPECT_EQ(intKey("scores"), 300 - 5 - 25 - 100);
    EXPECT_EQ(intKey("time"), 2);
    EXPECT_EQ(intKey("life"), 1);
}

TEST_F(ShopEntryTest, PressesAfterStartBeforeTheFadeBuyNothing) {
    // Start and a purchase in the same frame: the cut-scene already holds the old balance, so
    // the purchase would be free once the round banks that balance again.
    enterShop(500);
    press(buttonOf(shop()->startButton));
    press(shop()->upgradeLifeNode->iconItem);
    press(buttonOf(shop()->titleButton));
    pt->step(1);
    EXPECT_EQ(intKey("coinScore"), 500);
    EXPECT_EQ(intKey("lifeNo"), 0);
    EXPECT_EQ(intKey("scores"), 500);
    EXPECT_TRUE(dynamic_cast<EventScene*>(fadingTo()));
}

TEST_F(ShopEntryTest, TitleButtonGoesBackToTheTitleAndSavesNothing) {
    enterShop(77);
    pt->step(1);
    const auto before = pt->store();
    press(buttonOf(shop()->titleButton));
    pt->step(1);
    EXPECT_TRUE(dynamic_cast<TitleScene*>(fadingTo()));
    finishFade();
    EXPECT_TRUE(dynamic_cast<TitleScene*>(pt->runningScene()));
    EXPECT_EQ(pt->store(), before);
}

TEST_F(ShopEntryTest, ButtonsSitWhereThePlayerSeesThem) {
    enterShop(0);
    const cocos2d::Vec2 start = onScreen(buttonOf(shop()->startButton));
    const cocos2d::Vec2 title = onScreen(buttonOf(shop()->titleButton));
    EXPECT_FLOAT_EQ(start.x, 1584);
    EXPECT_FLOAT_EQ(start.y, 135);
    EXPECT_FLOAT_EQ(title.x, 96);
    EXPECT_FLOAT_EQ(title.y, 108);
}
