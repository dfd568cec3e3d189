// Buying the time and life levels: prices, refusals, what the shop shows afterwards, and
// what stays in the store.
#include "LifeGaugSprite.h"
#include "PriceLife.h"
#include "PriceTime.h"
#include "TimeGaugSprite.h"
#include "UpgradeLayer.h"
#include "UpgradeLifeNode.h"
#include "UpgradeNode.h"
#include "UpgradeScore.h"
#include "test_loop_fixture.h"

#include <array>

namespace {

// One of the two offers, as the shop shows it.
struct Offer {
    const char* name;
    const char* levelKey;
    const char* soldOutKey;
    std::array<int, 3> prices;
    std::array<const char*, 4> icons; // the icon shown at levels 0..3
    const char* gaugePrefix;
};

const Offer kTime{"time",
                  "timeNo",
                  "Button1",
                  {5, 25, 50},
                  {"UpGradeScene/timeThree.png", "UpGradeScene/timeFive.png", "UpGradeScene/timeSeven.png",
                   "UpGradeScene/timeSoldOutSeven.png"},
                  "UpGradeScene/timeGauge"};
const Offer kLife{"life",
                  "lifeNo",
                  "Button2",
                  {100, 200, 400},
                  {"UpGradeScene/life.png", "UpGradeScene/life.png", "UpGradeScene/life.png",
                   "UpGradeScene/lifeSoldOut.png"},
                  "UpGradeScene/lifeGauge"};

std::string gauge(const Offer& offer, int level) { return offer.gaugePrefix + std::to_string(level) + ".png"; }

class ShopTest : public LoopTest {
protected:
    UpgradeLayer* shop() const { return pt->find<UpgradeLayer>(); }
    bool isTime(const Offer& offer) const { return &offer == &kTime; }
    cocos2d::Node* icon(const Offer& offer) const {
        return isTime(offer) ? static_cast<cocos2d::Node*>(shop()->upgradeNode->iconItem) : shop()->upgradeLifeNode->iconItem;
    }
    cocos2d::Node* plate(const Offer& offer) const {
        return isTime(offer) ? static_cast<cocos2d::Node*>(shop()->upgradeNode->plateItem)
                             : shop()->upgradeLifeNode->plateItem;
    }
    std::string label(const Offer& offer) const {
        return isTime(offer) ? shop()->priceTime->getString() : shop()->priceLife->getString();
    }
    std::string gaugeImage(const Offer& offer) const {
        return isTime(offer) ? shop()->timeGaugSprite->getFileName() : shop()->lifeGaugSprite->getFileName();
    }
    std::string iconImage(const Offer& offer) const {
        return static_cast<cocos2d::MenuItemImage*>(icon(offer))->getNormalFile();
    }
    void enterShop(int coins) {
        pt->execute("open shop " + std::to_string(coins));
        pt->step(1);
        pt->sounds();
    }
    // What the offer shows at a level reached in an earlier visit.
    void expectShows(const Offer& offer, int level) {
        EXPECT_EQ(iconImage(offer), offer.icons[level]);
        EXPECT_EQ(gaugeImage(offer), gauge(offer, level));
        EXPECT_EQ(label(offer), level < 3 ? std::to_string(offer.prices[level]) : "MAX");
    }
};

struct PurchaseCase {
    const Offer* offer;
    int level;
    bool onPlate;
};

void PrintTo(const PurchaseCase& c, std::ostream* out) {
    *out << c.offer->name << " level " << c.level << (c.onPlate ? " on the plate" : " on the icon");
}

std::string caseName(const ::testing::TestParamInfo<PurchaseCase>& info) {
    return std::string(info.param.offer->name) + "Level" + std::to_string(info.param.level) +
           (info.param.onPlate ? "Plate" : "Icon");
}

class PurchaseTest : public ShopTest, public ::testing::WithParamInterface<PurchaseCase> {};

std::vector<PurchaseCase> allPurchases() {
    std::vector<PurchaseCase> cases;
    for (const Offer* offer : {&kTime, &kLife})
        for (int level = 0; level < 3; ++level)
            for (bool onPlate : {false, true}) cases.push_back({offer, level, onPlate});
    return cases;
}

} // namespace

TEST_P(PurchaseTest, ExactPriceBuysTheNextLevel) {
    const auto& [offer, level, onPlate] = GetParam();
    const int price = offer->prices[level];
    saved(offer->levelKey, level);
    enterShop(price);
    expectShows(*offer, level);

    press(onPlate ? plate(*offer) : icon(*offer));
    EXPECT_EQ(soundFiles("playEffect"), std::vector<std::string>{"Music/cursor6.mp3"});
    pt->step(1);
    EXPECT_EQ(intKey("coinScore"), 0);
    EXPECT_EQ(intKey(offer->levelKey), level + 1);
    EXPECT_EQ(boolKey(offer->soldOutKey), level == 2);
    expectShows(*offer, level + 1);
    EXPECT_EQ(shop()->upgradeScore->getString(), "0000");
}

TEST_P(PurchaseTest, OneCoinShortIsRefusedAndChangesNothing) {
    const auto& [offer, level, onPlate] = GetParam();
    saved(offer->levelKey, level);
    enterShop(offer->prices[level] - 1);
    const auto before = pt->store();

    press(onPlate ? plate(*offer) : icon(*offer));
    EXPECT_EQ(soundFiles("playEffect"), std::vector<std::string>{"Music/cursor9.mp3"});
    pt->step(1);
    EXPECT_EQ(pt->store(), before);
    expectShows(*offer, level);
}

INSTANTIATE_TEST_SUITE_P(Offers, PurchaseTest, ::testing::ValuesIn(allPurchases()), caseName);

TEST_F(ShopTest, BothOffersSellOutInOneVisit) {
    const int allLevels = 5 + 25 + 50 + 100 + 200 + 400;
    enterShop(allLevels + 3);
    for (int i = 0; i < 3; ++i) {
        press(icon(kTime));
        pt->step(1);
        press(plate(kLife));
        pt->step(1);
    }
    EXPECT_EQ(soundFiles("playEffect"), std::vector<std::string>(6, "Music/cursor6.mp3"));
    EXPECT_EQ(intKey("coinScore"), 3);
    EXPECT_EQ(shop()->upgradeScore->getString(), "0003");
    for (const Offer* offer : {&kTime, &kLife}) {
        EXPECT_EQ(intKey(offer->levelKey), 3);
        EXPECT_TRUE(boolKey(offer->soldOutKey));
        expectShows(*offer, 3);
    }

    // Sold out: every press is refused, on icon and plate alike, even with coins to spare.
    enterShop(5000);
    const auto before = pt->store();
    for (const Offer* offer : {&kTime, &kLife}) {
        press(icon(*offer));
        press(plate(*offer));
    }
    pt->step(1);
    EXPECT_EQ(soundFiles("playEffect"), std::vector<std::string>(4, "Music/cursor9.mp3"));
    EXPECT_EQ(pt->store(), before);
}

TEST_F(ShopTest, SellingOutOverTwoVisitsAndARestartKeepsTheOffersSoldOut) {
    enterShop(5 + 25 + 100);
    press(icon(kTime));
    press(icon(kTime));
    press(icon(kLife));
    pt->step(1);
    restart();
    enterShop(50 + 200 + 400);
    expectShows(kTime, 2);
    expectShows(kLife, 1);
    press(plate(kTime));
    press(plate(kLife));
    press(plate(kLife));
    pt->step(1);
    EXPECT_EQ(intKey("coinScore"), 0);

    restart();
    enterShop(0);
    expectShows(kTime, 3);
    expectShows(kLife, 3);
    EXPECT_TRUE(boolKey("Button1"));
    EXPECT_TRUE(boolKey("Button2"));
}

TEST_F(ShopTest, ALevelBeyondTheOfferShowsSoldOutAndIgnoresPresses) {
    // A store that says level 3 without the sold-out flag: nothing to sell, and no refusal sound.
    saved("timeNo", 3);
    saved("lifeNo", 4);
    enterShop(1000);
    EXPECT_EQ(iconImage(kTime), kTime.icons[3]);
    EXPECT_EQ(iconImage(kLife), kLife.icons[3]);
    EXPECT_EQ(label(kTime), "0");
    EXPECT_EQ(label(kLife), "0");
    const auto before = pt->store();
    press(icon(kTime));
    press(plate(kLife));
    pt->step(1);
    EXPECT_TRUE(soundFiles("playEffect").empty());
    EXPECT_EQ(pt->store(), before);
}
