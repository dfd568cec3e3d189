// Steady state: once a scene has run for a second, its frames read no files, load no
// pictures and render no text; only something new happening (a new score, a first sight of
// a picture) may, and then once. Counted through the harness's stats.
#include "harness/playtest/Playtest.h"

#include "game/round/ButtonManager.h"
#include "game/round/GameButton.h"
#include "game/round/GameLayer.h"
#include "game/round/GameScene.h"
#include "game/round/TargetManager.h"
#include "game/round/TargetSprite.h"
#include "game/shop/UpgradeScene.h"
#include "harness/playtest/Ring.h"

#include <gtest/gtest.h>

#include "tests/support/TempDirs.h"
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

namespace {

struct Counters {
    long long fileReads, textures, textRenders;
    Counters operator-(const Counters& o) const {
        return {fileReads - o.fileReads, textures - o.textures, textRenders - o.textRenders};
    }
    bool operator==(const Counters&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Counters& c) {
    return out << "{file reads " << c.fileReads << ", textures " << c.textures << ", text renders "
               << c.textRenders << "}";
}

constexpr Counters kNothing{0, 0, 0};

class SteadyStateTest : public ::testing::Test {
  protected:
    static constexpr int kFps = 60;

    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        char dir[] = "/tmp/doviveduzuz-steady-XXXXXX";
        ASSERT_NE(nullptr, TempDirs::keep(mkdtemp(dir)));
        dataHome = dir;
        setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        pt = std::make_unique<Playtest>();
        pt->execute("seed 7");
    }
    void TearDown() override {
        pt.reset();
        std::filesystem::remove_all(dataHome);
    }

    Counters now() const {
        const auto s = pt->stats();
        return {s["fileReads"].get<long long>(), s["textures"].get<long long>(),
                s["textRenders"].get<long long>()};
    }
    // What the next `frames` frames read, load and render.
    Counters over(int frames) {
        const Counters before = now();
        pt->step(frames);
        return now() - before;
    }

    GameLayer* layer() const {
        auto* scene = dynamic_cast<GameScene*>(pt->runningScene());
        return scene ? scene->gameLayer : nullptr;
    }
    bool ringSettled() const { return Ring::settled(layer()->buttonManager); }
    // Enters the stage's row with the ring's keys and waits for the next stage.
    void solveStage() {
        for (int n = 0; n < 5 * kFps && !ringSettled(); ++n)
            pt->step(1);
        ASSERT_TRUE(ringSettled());
        static const char* const kKeys[6] = {"W", "E", "D", "X", "Z", "A"};
        const int stage = layer()->stageCount;
        for (int place = 0; place < 6; ++place) {
            const int i =
                Ring::placeShowing(layer()->buttonManager, layer()->targetManager->targets[place]->kind);
            if (i >= 0) pt->execute(std::string("key ") + kKeys[i]);
        }
        for (int n = 0; n < 10 * kFps && layer()->stageCount == stage; ++n)
            pt->step(1);
        ASSERT_EQ(stage + 1, layer()->stageCount) << "the solved stage did not end";
    }
    // Steps until the round is over and its result panel has come up.
    void playToResult() {
        for (int n = 0; n < 30 * kFps && layer()->targetManager; ++n)
            pt->step(1);
        ASSERT_EQ(nullptr, layer()->targetManager) << "the round did not end";
        pt->step(3 * kFps);
    }

    std::unique_ptr<Playtest> pt;
    std::string dataHome;
};

TEST_F(SteadyStateTest, TitleIsQuietAfterItsFirstSecond) {
    pt->step(kFps);
    EXPECT_EQ(kNothing, over(20 * kFps));
}

TEST_F(SteadyStateTest, ShopShowReadsNothingOnceItHasPlayedThrough) {
    pt->execute("open shop 500");
    pt->step(kFps);
    // The show's first pass turns a planet green and knocks the plant out: pictures the shop
    // read while it was built.
    const Counters firstPass = over(30 * kFps);
    EXPECT_EQ(0, firstPass.fileReads) << firstPass;
    EXPECT_EQ(0, firstPass.textures) << firstPass;
    EXPECT_EQ(0, firstPass.textRenders) << "the idle shop rendered text";
    EXPECT_EQ(kNothing, over(30 * kFps)) << "the show keeps reading";
}

TEST_F(SteadyStateTest, CutSceneReadsEachPictureOnce) {
    pt->execute("open event 0 0 0");
    pt->step(kFps);
    // Up to just before the round starts (the cut-scene ends at 11 s), the shock mark included.
    const Counters rest = over(9 * kFps);
    EXPECT_EQ(0, rest.fileReads) << rest;
    EXPECT_EQ(0, rest.textures) << rest;
    EXPECT_EQ(0, rest.textRenders) << rest;
    ASSERT_EQ(nullptr, layer()) << "the round began too early for this check";
}

TEST_F(SteadyStateTest, RoundRereadsNothingAcrossStagesAndGameOver) {
    pt->execute("open game 0 0 0");
    pt->step(kFps);
    // At the shortest stage time (4 s), two idle seconds stay inside the stage.
    EXPECT_EQ(kNothing, over(2 * kFps)) << "an idle stage";

    // The first stage change shows the stage-clear lights and the green planet for the first
    // time: both were read when the round was built.
    Counters before = now();
    ASSERT_NO_FATAL_FAILURE(solveStage());
    pt->step(kFps);
    EXPECT_EQ(0, (now() - before).fileReads) << "the first stage change read a file";
    const int scoreBefore = layer()->score;
    before = now();
    ASSERT_NO_FATAL_FAILURE(solveStage());
    const Counters change = now() - before;
    EXPECT_EQ(0, change.fileReads) << "the second stage change read a file: " << change;
    EXPECT_EQ(0, change.textures) << change;
    // Only the new score is new text: one string per value (a bonus and the stage make two).
    EXPECT_LE(change.textRenders, layer()->score - scoreBefore > 1 ? 2 : 1) << change;
    pt->step(kFps);
    EXPECT_EQ(kNothing, over(2 * kFps)) << "an idle stage after stage changes";

    // No extra life: the next time-out ends the round; the wilted plant and the whole panel
    // were read when the round was built.
    before = now();
    ASSERT_NO_FATAL_FAILURE(playToResult());
    pt->step(kFps);
    EXPECT_EQ(0, (now() - before).fileReads) << "game over read a file";
    EXPECT_EQ(kNothing, over(10 * kFps)) << "the result panel";
}

TEST_F(SteadyStateTest, SecondRoundReadsNoFileAtAll) {
    pt->execute("open game 0 0 0");
    pt->step(kFps);
    ASSERT_NO_FATAL_FAILURE(solveStage());
    ASSERT_NO_FATAL_FAILURE(playToResult());

    // Retry: the same kind of round again, from its creation through a stage change to its result.
    const Counters before = now();
    pt->execute("key R");
    for (int n = 0; n < 5 * kFps && (!layer() || layer()->score != 0 || !layer()->targetManager); ++n)
        pt->step(1);
    ASSERT_NE(nullptr, layer());
    ASSERT_EQ(0, layer()->score) << "the retry did not start a new round";
    pt->step(kFps);
    ASSERT_NO_FATAL_FAILURE(solveStage());
    ASSERT_NO_FATAL_FAILURE(playToResult());
    const Counters second = now() - before;
    EXPECT_EQ(0, second.fileReads) << second;
    EXPECT_EQ(0, second.textures) << second;
}

} // namespace
