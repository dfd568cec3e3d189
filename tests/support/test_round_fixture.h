#pragma once
// A round played through the playtest harness on the virtual clock, with a store of its own.
// Buttons are pressed where the layout puts them on screen, not where the engine says they are.
#include "game/round/AnswerManager.h"
#include "game/round/ButtonManager.h"
#include "game/round/GameButton.h"
#include "game/round/GameLayer.h"
#include "game/round/TargetManager.h"
#include "game/round/TargetSprite.h"
#include "game/round/TimeSprite.h"
#include "harness/playtest/Ring.h"
#include "tests/support/test_loop_fixture.h"

#include <algorithm>

class RoundTest : public LoopTest {
  protected:
    void open(int coins, int timeLevel, int lifeLevel) {
        pt->execute("open game " + std::to_string(coins) + " " + std::to_string(timeLevel) + " " +
                    std::to_string(lifeLevel));
        settleRing();
    }
    bool ringIsDistinct() const { return Ring::settled(layer()->buttonManager); }
    // Steps one frame at a time until done() holds, giving up after maxFrames; returns the
    // frames taken.
    template <typename Done> int stepUntil(Done done, int maxFrames = 30 * kFps) {
        int frames = 0;
        while (!done() && frames < maxFrames) {
            pt->step(1);
            ++frames;
        }
        EXPECT_TRUE(done()) << "gave up after " << maxFrames << " frames";
        return frames;
    }
    // Steps until the ring shows six different elements; returns the frames it took.
    int settleRing() {
        return stepUntil([&] { return ringIsDistinct(); }, 10 * kFps);
    }
    GameLayer* layer() const { return pt->find<GameLayer>(); }
    void step(int frames = 1) { pt->step(frames); }

    void pressButton(const GameButton* button) {
        const auto& ring = layer()->buttonManager->buttons;
        tap(Spot::kRing[std::find(std::begin(ring), std::end(ring), button) - std::begin(ring)]);
    }
    GameButton* buttonShowing(int elementId) const {
        return Ring::buttonShowing(layer()->buttonManager, elementId);
    }
    // Presses the ring button showing this element, as a player would.
    void press(int elementId) {
        GameButton* button = buttonShowing(elementId);
        ASSERT_NE(nullptr, button) << "no button shows element " << elementId;
        pressButton(button);
    }
    // Some element the target in place i does not ask for.
    int wrongFor(int i) const { return layer()->targetManager->targets[i]->kind % 6 + 1; }
    int target(int i) const { return layer()->targetManager->targets[i]->kind; }
    void pressBack() { tap(Spot::kBack); }
    void solveStage() { ASSERT_EQ(pt->execute("solve"), "ok"); }

    // Counts the sound calls of one kind and file since the last look.
    static int countCalls(const nlohmann::json& sounds, const std::string& call, const std::string& file) {
        int n = 0;
        for (const auto& s : sounds)
            if (s["call"] == call && s.value("file", "") == file) ++n;
        return n;
    }
};
