// The shop: the balance on entry, buying the time and life levels, selling out, and
// presses that arrive after the shop has been left.
#include "game/event/EventScene.h"
#include "game/shop/LifeGaugSprite.h"
#include "game/shop/PriceLife.h"
#include "game/shop/PriceTime.h"
#include "game/shop/StartButton.h"
#include "game/shop/TimeGaugSprite.h"
#include "game/shop/UpgradeLayer.h"
#include "game/shop/UpgradeLifeNode.h"
#include "game/shop/UpgradeNode.h"
#include "game/shop/UpgradeScore.h"
#include "tests/support/test_loop_fixture.h"

#include <array>

namespace {

struct Offer {
    const char* name;
    const char* levelKey;
    const char* soldOutKey;
    std::array<int, 3> prices;
    std::array<const char*, 4> icons; // shown at levels 0..3
    const char* gauge;
    cocos2d::Vec2 iconAt, plateAt;
};

const Offer kTime{"time",
                  "timeNo",
                  "Button1",
                  {5, 25, 50},
                  {"UpGradeScene/timeThree.png", "UpGradeScene/timeFive.png", "UpGradeScene/timeSeven.png",
                   "UpGradeScene/timeSoldOutSeven.png"},
                  "UpGradeScene/timeGauge",
                  Spot::kTimeIcon,
                  Spot::kTimePlate};
const Offer kLife{"life",
                  "lifeNo",
                  "Button2",
                  {100, 200, 400},
                  {"UpGradeScene/life.png", "UpGradeScene/life.png", "UpGradeScene/life.png",
                   "UpGradeScene/lifeSoldOut.png"},
                  "UpGradeScene/lifeGauge",
                  Spot::kLifeIcon,
                  Spot::kLifePlate};

class ShopTest : public LoopTest {
  protected:
    UpgradeLayer* shop() const { return pt->find<UpgradeLayer>(); }
    void enterShop(int coins) {
        pt->execute("open shop " + std::to_string(coins));
        pt->step(1);
        pt->sounds();
    }
    cocos2d::MenuItemImage* icon(const Offer& o) const {
        return &o == &kTime ? shop()->upgradeNode->iconItem : shop()->upgradeLifeNode->iconItem;
    }
    // Icon, price label and gauge as the offer shows them at a level.
    void expectShows(const Offer& o, int level) {
        const bool time = &o == &kTime;
        EXPECT_EQ(icon(o)->getNormalFile(), o.icons[level]) << o.name;
        EXPECT_EQ(time ? shop()->timeGaugSprite->getFileName() : shop()->lifeGaugSprite->getFileName(),
                  o.gauge + std::to_string(level) + ".png");
        EXPECT_EQ(time ? shop()->priceTime->getString() : shop()->priceLife->getString(),
                  level < 3 ? std::to_string(o.prices[level]) : "MAX");
    }
};

struct EntryCase {
    int savedBefore, entering, stored;
    const char* shown;
};
class EntryTest : public ShopTest, public ::testing::WithParamInterface<EntryCase> {};

struct PurchaseCase {
    const Offer* offer;
    int level;
    bool onPlate;
};
void PrintTo(const PurchaseCase& c, std::ostream* out) {
    *out << c.offer->name << " level " << c.level << (c.onPlate ? " plate" : " icon");
}
class PurchaseTest : public ShopTest, public ::testing::WithParamInterface<PurchaseCase> {};

std::vector<PurchaseCase> allPurchases() {
    std::vector<PurchaseCase> cases;
    for (const Offer* offer : {&kTime, &kLife})
        for (int level = 0; level < 3; ++level)
            for (bool onPlate : {false, true})
                cases.push_back({offer, level, onPlate});
    return cases;
}

} // namespace

TEST_P(EntryTest, BalanceFollowsTheEntryRuleAndCap) {
    const EntryCase& c = GetParam();
    if (c.savedBefore) enterShop(c.savedBefore);
    enterShop(c.entering);
    EXPECT_EQ(intKey("coinScore"), c.stored);
    EXPECT_EQ(shop()->upgradeScore->getString(), c.shown);
}
INSTANTIATE_TEST_SUITE_P(Balances, EntryTest,
                         ::testing::Values(EntryCase{0, 0, 0, "0000"}, EntryCase{150, 0, 150, "0150"},
                                           EntryCase{150, 42, 42, "0042"},
                                           EntryCase{0, 10000, 10000, "10000"},
                                           EntryCase{0, 10001, 9999, "9999"},
                                           EntryCase{0, 250000, 9999, "9999"}));

TEST_P(PurchaseTest, ExactPriceBuysAndOneCoinShortIsRefused) {
    const auto& [offer, level, onPlate] = GetParam();
    const int price = offer->prices[level];
    saved(offer->levelKey, level);
    enterShop(price - 1);
    const auto before = pt->store();
    tap(onPlate ? offer->plateAt : offer->iconAt);
    EXPECT_EQ(soundFiles("playEffect"), std::vector<std::string>{"Music/cursor9.mp3"});
    pt->step(1);
    EXPECT_EQ(pt->store(), before);
    expectShows(*offer, level);

    enterShop(price);
    tap(onPlate ? offer->plateAt : offer->iconAt);
    EXPECT_EQ(soundFiles("playEffect"), std::vector<std::string>{"Music/cursor6.mp3"});
    pt->step(1);
    EXPECT_EQ(intKey("coinScore"), 0);
    EXPECT_EQ(intKey(offer->levelKey), level + 1);
    EXPECT_EQ(boolKey(offer->soldOutKey), level == 2);
    EXPECT_EQ(shop()->upgradeScore->getString(), "0000");
    expectShows(*offer, level + 1);
}
INSTANTIATE_TEST_SUITE_P(Offers, PurchaseTest, ::testing::ValuesIn(allPurchases()));

TEST_F(ShopTest, BothOffersSellOutInOneVisitAndStaySoldOutAfterARestart) {
    enterShop(5 + 25 + 50 + 100 + 200 + 400 + 3);
    for (int i = 0; i < 3; ++i) {
        tap(kTime.iconAt);
        tap(kLife.plateAt);
    }
    pt->step(1);
    EXPECT_EQ(soundFiles("playEffect"), std::vector<std::string>(6, "Music/cursor6.mp3"));
    EXPECT_EQ(intKey("coinScore"), 3);
    expectShows(kTime, 3);
    expectShows(kLife, 3);

    restart();
    enterShop(5000);
    expectShows(kTime, 3);
    expectShows(kLife, 3);
    const auto before = pt->store();
    for (const Offer* offer : {&kTime, &kLife}) {
        tap(offer->iconAt);
        tap(offer->plateAt);
    }
    pt->step(1);
    EXPECT_EQ(soundFiles("playEffect"), std::vector<std::string>(4, "Music/cursor9.mp3"));
    EXPECT_EQ(pt->store(), before);
}

TEST_F(ShopTest, PressesAfterStartInTheSameFrameBuyNothing) {
    // The cut-scene already holds the balance of the moment of the press; a purchase now would
    // come back free once the round banks that balance.
    enterShop(500);
    tap(Spot::kStart);
    tap(kLife.iconAt);
    tap(kTime.plateAt);
    pt->step(1);
    EXPECT_TRUE(dynamic_cast<EventScene*>(fadingTo()));
    EXPECT_EQ(intKey("coinScore"), 500);
    EXPECT_EQ(intKey("scores"), 500);
    EXPECT_EQ(intKey("lifeNo"), 0);
    EXPECT_EQ(intKey("timeNo"), 0);
}

TEST_F(ShopTest, ALevelOutsideTheOffersShowsSoldOutAtPriceZeroAndPressesDoNothing) {
    // Only a damaged store holds such levels; the sold-out flags stay false.
    for (const int level : {7, -1, 3}) {
        for (const Offer* offer : {&kTime, &kLife}) {
            saved(offer->levelKey, level);
            enterShop(1000);
            const bool time = offer == &kTime;
            EXPECT_EQ(icon(*offer)->getNormalFile(), offer->icons[3]) << offer->name << " " << level;
            EXPECT_EQ(time ? shop()->priceTime->getString() : shop()->priceLife->getString(), "0");
            EXPECT_EQ(time ? shop()->timeGaugSprite->getFileName() : shop()->lifeGaugSprite->getFileName(),
                      level == 3 ? offer->gauge + std::string("3.png") : "");
            const auto before = pt->store();
            tap(offer->iconAt);
            tap(offer->plateAt);
            pt->step(1);
            EXPECT_EQ(soundFiles("playEffect"), std::vector<std::string>{}) << offer->name << " " << level;
            EXPECT_EQ(pt->store(), before);
        }
    }
}
