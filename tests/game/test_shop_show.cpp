// The looping planet show along the bottom of the shop, watched frame by frame.
#include "game/figures/PlantBom.h"
#include "game/figures/Player.h"
#include "game/shop/UpgradeEventNode.h"
#include "game/shop/UpgradeLayer.h"
#include "tests/support/test_loop_fixture.h"

#include <cmath>

namespace {

constexpr const char* kDead = "GameScene/deadPlanet.png";
constexpr const char* kGreen = "GameScene/greenPlanet.png";

// Frames a planet rolling from x 2880 takes to get strictly below x.
int framesToPass(float x) {
    return static_cast<int>(std::floor((kDesignSize.width * 1.5f - x) / 10.0f)) + 1;
}

// What happened on which frame of one cycle, counted from the frame the shop opened.
struct Cycle {
    int greenRolls = -1, hop = -1, turnsGreen = -1, greenReset = -1;
    int knockOut = -1, hitReset = -1, risesAgain = -1;
};

class ShowTest : public LoopTest {
  protected:
    void SetUp() override {
        LoopTest::SetUp();
        pt->execute("open shop 0");
        pt->sounds();
        show = pt->find<UpgradeEventNode>();
    }

    // Steps through one cycle, checking what must hold on every frame.
    Cycle watchCycle() {
        Cycle c;
        const float start = kDesignSize.width * 1.5f;
        bool sliding = false;
        for (int guard = 0; guard < 30 * kFps && c.risesAgain < 0; ++guard) {
            const float greenBefore = show->greenPlanet->getPositionX();
            const float hitBefore = show->hitPlanet->getPositionX();
            const float plantYBefore = show->player->getPositionY();
            pt->step(1);
            ++frame;
            const float green = show->greenPlanet->getPositionX();
            const float hit = show->hitPlanet->getPositionX();
            // The green image from the frame the planet passes the plant until its reset.
            EXPECT_EQ(show->greenPlanet->getFileName(), green < kDesignSize.width / 2 ? kGreen : kDead)
                << frame;
            EXPECT_EQ(show->hitPlanet->getFileName(), kDead) << frame;
            EXPECT_FALSE(green < start && hit < start) << "two planets rolling on frame " << frame;

            if (c.greenRolls < 0 && green < start) c.greenRolls = frame;
            if (c.hop < 0 && c.greenRolls > 0 && !show->hopPending) c.hop = frame;
            if (c.turnsGreen < 0 && green < kDesignSize.width / 2) c.turnsGreen = frame;
            if (c.greenReset < 0 && c.turnsGreen > 0 && green == start && greenBefore < start)
                c.greenReset = frame;
            for (const auto& file : soundFiles("playEffect")) {
                EXPECT_EQ(file, "Music/Onmtp-Impact06-1.mp3");
                EXPECT_EQ(c.knockOut, -1) << "second knock-out on frame " << frame;
                c.knockOut = frame;
            }
            if (hit < kDesignSize.width * 0.55f) {
                // Carried off: the plant keeps 100 units left of the planet, wilted.
                sliding = true;
                EXPECT_FLOAT_EQ(hit - show->player->getPositionX(), 100) << frame;
                EXPECT_EQ(show->player->getFileName(), "GameScene/PlantNotOut.png");
            }
            if (c.hitReset < 0 && sliding && hit == start && hitBefore < start) {
                c.hitReset = frame;
                EXPECT_FLOAT_EQ(show->player->getPositionY(), kDesignSize.height * -0.3f);
                EXPECT_EQ(show->player->getFileName(), "GameScene/Plant1.png");
            }
            if (c.hitReset > 0 && frame > c.hitReset && show->player->getPositionY() > plantYBefore)
                c.risesAgain = frame;
        }
        return c;
    }

    UpgradeEventNode* show = nullptr;
    int frame = 0;
};

} // namespace

TEST_F(ShowTest, OneCycleFollowsTheRollingPlanetsFrameByFrame) {
    const auto storeBefore = pt->store();
    const Cycle c = watchCycle();
    ASSERT_GT(c.risesAgain, 0);
    // The green-turning planet starts a second after the plant begins to rise.
    EXPECT_EQ(c.greenRolls, kFps + 1);
    const int rolled = c.greenRolls - 1;
    EXPECT_EQ(c.hop - rolled, framesToPass(kDesignSize.width * 0.7f));
    EXPECT_EQ(c.turnsGreen - rolled, framesToPass(kDesignSize.width / 2));
    EXPECT_EQ(c.greenReset - rolled, framesToPass(kDesignSize.width * -0.5f));
    // The knocking planet starts on the frame after the reset.
    EXPECT_EQ(c.knockOut - c.greenReset, framesToPass(kDesignSize.width * 0.55f));
    EXPECT_EQ(c.hitReset - c.greenReset, framesToPass(kDesignSize.width * -0.5f));
    EXPECT_NEAR(c.risesAgain - c.hitReset, 0.5 * kFps, 1);
    // The next cycle begins like the first: the planet rolls a second after the plant starts rising.
    const int risen = frame; // the first frame of the new rise, as frame 1 was for the first
    EXPECT_EQ(watchCycle().greenRolls - risen, c.greenRolls - 1);
    // The companion never moves, and the show touches no saved value.
    EXPECT_FLOAT_EQ(show->plantBom->getPositionX(), static_cast<float>(kDesignSize.width * 0.52));
    EXPECT_EQ(pt->store(), storeBefore);
}
