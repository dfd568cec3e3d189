// What the player sees and hears at seeded moments of the whole loop, against the reviewed files
// in tests/golden/. After an intended change: DOVI_UPDATE_GOLDENS=1 build/unit_tests
// --gtest_filter='Snapshot*', then review the diff of tests/golden/ like code.
#include "ButtonManager.h"
#include "EventScene.h"
#include "GameButton.h"
#include "GameScene.h"
#include "JiyamaSprite.h"
#include "Snapshot.h"
#include "UpgradeScene.h"
#include "test_round_fixture.h"

#include <filesystem>

namespace {

class SnapshotTest : public RoundTest {
  protected:
    void seed(unsigned n) {
        pt->execute("seed " + std::to_string(n));
        run = Snapshot::Run(n);
    }
    void snap(const std::string& moment) { run.add(moment, pt->frame(), pt->sounds(), pt->tree()); }
    void expectGolden(const std::string& name) {
        std::string report;
        for (const auto& line :
             Snapshot::compareWithGolden(DOVI_SOURCE_DIR "/tests/golden/" + name + ".json", run))
            report += "\n  " + line;
        EXPECT_TRUE(report.empty()) << name << " differs from its golden file:" << report;
    }
    Snapshot::Run run{0};
};

} // namespace

TEST_F(SnapshotTest, FirstRunFromTheTitleToTheResultPanel) {
    seed(4); // a seed whose third stage is obstructed
    seconds(1.5);
    snap("title idle, the prompt half-way back in");
    pt->tap(960, 540);
    seconds(1.2);
    snap("title departing, the plant starting to rise");
    ASSERT_TRUE(arriveAt<UpgradeScene>());
    seconds(0.5);
    snap("shop fresh, the show's plant rising");
    tap(Spot::kStart);
    seconds(1.75);
    snap("cut-scene 1.75 s: the shock mark");
    // A quarter of a second after each step of the story.
    for (const auto& [wait, moment] : {std::pair{1.5, "cut-scene 3.25 s: the plant runs off"},
                                       {1.0, "cut-scene 4.25 s: the planet drifts in"},
                                       {3.0, "cut-scene 7.25 s: both come back"},
                                       {3.0, "cut-scene 10.25 s: the companion joins"}}) {
        seconds(wait);
        snap(moment);
    }
    ASSERT_TRUE(arriveAt<GameScene>());
    seconds(0.5);
    snap("round: the first stage");
    solveStage();
    seconds(0.5);
    snap("round: stage clear");
    pt->step(30 + 70 + 6);
    snap("round: the fly-past turning green");
    for (int stage = 2; stage < 40 && pt->findAll<JiyamaSprite>().empty(); ++stage) {
        stepUntil([&] { return layer()->stageCount == stage; }, 10 * kFps);
        seconds(1);
        if (pt->findAll<JiyamaSprite>().empty()) solveStage();
    }
    snap("round: an obstructed stage");
    stepUntil([&] { return !layer()->timeSprite->isArmed; });
    seconds(1);
    snap("round: game over, one second on");
    for (const char* moment : {"result: the backdrop", "result: score and best", "result: retry and shop"}) {
        seconds(0.5);
        snap(moment);
    }
    expectGolden("first-run");
}

TEST_F(SnapshotTest, ShopShowPurchasesAndALifeSpent) {
    seed(7);
    pt->execute("open shop 1000");
    tap(Spot::kTimeIcon);
    tap(Spot::kLifeIcon);
    seconds(0.5);
    snap("shop mid-way: one level of each bought");
    struct {
        double at;
        const char* moment;
    } show[] = {{4.0, "shop show: the plant hops"},
                {4.5, "shop show: the planet turns green"},
                {11.0, "shop show: the plant knocked out and carried off"},
                {14.0, "shop show: the plant waits below"}};
    double now = 0.5;
    for (const auto& [at, moment] : show) {
        seconds(at - now);
        now = at;
        snap(moment);
    }
    for (int i = 0; i < 2; ++i) {
        tap(Spot::kTimePlate);
        tap(Spot::kLifePlate);
    }
    pt->step(1);
    snap("shop sold out");
    tap(Spot::kStart);
    ASSERT_TRUE(arriveAt<EventScene>());
    pt->tap(960, 540);
    ASSERT_TRUE(arriveAt<GameScene>());
    stepUntil([&] { return !layer()->timeSprite->isArmed; });
    seconds(0.5);
    snap("round: a time-out with a life");
    expectGolden("shop");
}

TEST_F(SnapshotTest, TheSameSeedGivesTheSameSnapshotsAndAnotherSeedOthers) {
    const auto play = [&](unsigned seed) {
        pt.reset();
        std::filesystem::remove_all(dataHome);
        std::filesystem::create_directories(dataHome);
        pt = std::make_unique<Playtest>();
        this->seed(seed);
        pt->execute("open game 0 1 1");
        for (int moment = 0; moment < 3; ++moment) {
            seconds(1.3);
            snap(std::to_string(moment));
        }
        return run.json();
    };
    const auto first = play(3);
    EXPECT_EQ(first, play(3));
    const auto differences = Snapshot::differences(first, play(4));
    EXPECT_FALSE(differences.empty());
}
