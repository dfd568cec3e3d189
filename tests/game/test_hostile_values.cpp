// Saved values only a damaged or edited store holds, read conservatively: a life level above 3
// counts as 3 (a round without end would never bank its score), a debt in the shop reads as no
// coins, and a round's score added to a balance near the int limit stops there.
#include "game/event/EventScene.h"
#include "game/round/GameLayer.h"
#include "game/round/GameScene.h"
#include "game/round/result/UpgradeButton.h"
#include "game/shop/UpgradeLayer.h"
#include "game/shop/UpgradeScene.h"
#include "game/shop/UpgradeScore.h"
#include "tests/support/test_loop_fixture.h"

#include <limits>

namespace {

constexpr int kMaxInt = std::numeric_limits<int>::max();
constexpr int kMinInt = std::numeric_limits<int>::min();

class HostileValueTest : public LoopTest {
  protected:
    void run(const std::string& command) { ASSERT_EQ("ok", pt->execute(command)) << command; }
    GameLayer* round() const { return pt->find<GameLayer>(); }
    std::string balanceShown() const {
        auto* label = pt->find<UpgradeScore>();
        return label ? label->getString() : "<no shop>";
    }
    // Lets the clock run out stage after stage until the result panel offers its buttons.
    void loseRound() {
        for (int n = 0; n < 120 * kFps && round()->upgradeButton->getChildrenCount() == 0; ++n)
            pt->step(1);
        ASSERT_GT(round()->upgradeButton->getChildrenCount(), 0u);
        pt->step(1);
    }
};

TEST_F(HostileValueTest, AnEndlessLifeLevelGivesThreeLivesAndTheRoundStillBanks) {
    saved("coinScore", 100);
    saved("lifeNo", kMaxInt);
    run("open shop 0");
    seconds(0.1);
    run("key Return");
    ASSERT_TRUE(arriveAt<EventScene>());
    run("key space");
    ASSERT_TRUE(arriveAt<GameScene>());
    EXPECT_EQ(kMaxInt, intKey("gaug2")) << "the level itself is carried as it was";
    EXPECT_EQ(3, round()->lives);
    loseRound();
    EXPECT_EQ(3, round()->score) << "three time-outs with a life left, the fourth ends the round";
    EXPECT_EQ(103, intKey("scoreMoney"));
    run("key S");
    ASSERT_TRUE(arriveAt<UpgradeScene>());
    EXPECT_EQ(103, intKey("coinScore"));
}

TEST_F(HostileValueTest, ADebtInTheShopReadsAsNoCoins) {
    // Saved negative, entered with 0 (from the title): the entry rule keeps the saved balance,
    // which is then read as 0.
    saved("coinScore", kMinInt);
    run("open shop 0");
    seconds(0.1);
    EXPECT_EQ(0, intKey("coinScore"));
    EXPECT_EQ("0000", balanceShown());
    // A negative balance brought from a round (a damaged "scoreMoney") reads as 0 too.
    run("open shop -250");
    seconds(0.1);
    EXPECT_EQ(0, intKey("coinScore"));
    EXPECT_EQ("0000", balanceShown());
    // Nothing can be bought with it.
    run("key T");
    run("key L");
    seconds(0.1);
    EXPECT_EQ(0, intKey("timeNo"));
    EXPECT_EQ(0, intKey("lifeNo"));
    // The entry rule is unchanged: a 0 passed in keeps what was saved.
    saved("coinScore", 250);
    run("open shop 0");
    seconds(0.1);
    EXPECT_EQ(250, intKey("coinScore"));
}

TEST_F(HostileValueTest, BankingNearTheIntLimitStopsThere) {
    // Two lives: two time-outs score a stage each, the third ends the round with 2 points.
    run("open game " + std::to_string(kMaxInt - 1) + " 0 2");
    loseRound();
    EXPECT_EQ(2, round()->score);
    EXPECT_EQ(kMaxInt, intKey("scoreMoney")) << "wrapped round to a debt";
    // The shop's cap still applies on entry.
    run("key S");
    ASSERT_TRUE(arriveAt<UpgradeScene>());
    EXPECT_EQ(9999, intKey("coinScore"));
    // A balance well below the limit is banked as before.
    run("open game 40 0 0");
    loseRound();
    EXPECT_EQ(40, intKey("scoreMoney"));
}

} // namespace
