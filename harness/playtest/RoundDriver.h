#pragma once
// Plays a round through the harness as a player at the keyboard would, reading the game to
// press the right keys: the ring's keys, whole stages solved, and the busiest state a round
// reaches (benchmarks time it, tests draw it).
#include "harness/playtest/Playtest.h"

#include "game/round/ButtonManager.h"
#include "game/round/EffectManager.h"
#include "game/round/GameButton.h"
#include "game/round/GameLayer.h"
#include "game/round/GameScene.h"
#include "game/round/TargetManager.h"
#include "game/round/TargetSprite.h"
#include "game/round/TimeSprite.h"
#include "harness/playtest/Ring.h"

#include <string>

namespace playtest {

inline constexpr int kFps = 60;

// The key that presses ring button i (the game's keyboard controls, clockwise from top left).
inline const char* ringKey(int i) {
    static const char* const kKeys[6] = {"W", "E", "D", "X", "Z", "A"};
    return kKeys[i];
}

inline GameLayer* roundLayer(Playtest& pt) {
    auto* scene = dynamic_cast<GameScene*>(pt.runningScene());
    return scene ? scene->gameLayer : nullptr;
}

// Steps until the ring shows six different elements (it redraws repeats frame by frame).
inline bool settleRing(Playtest& pt) {
    for (int n = 0; n < 10 * kFps; ++n) {
        GameLayer* layer = roundLayer(pt);
        if (!layer || !layer->buttonManager) return false;
        if (Ring::settled(layer->buttonManager)) return true;
        pt.step(1);
    }
    return false;
}

// Enters the first `count` targets of the stage with the ring's keys.
inline bool enterTargets(Playtest& pt, int count) {
    if (!settleRing(pt)) return false;
    GameLayer* layer = roundLayer(pt);
    for (int place = 0; place < count; ++place) {
        const int index =
            Ring::placeShowing(layer->buttonManager, layer->targetManager->targets[place]->kind);
        if (index < 0) return false;
        pt.execute(std::string("key ") + ringKey(index));
    }
    return true;
}

// Solves the running stage and waits for the next one to be set up.
inline bool solveStage(Playtest& pt) {
    GameLayer* layer = roundLayer(pt);
    if (!layer) return false;
    const int stage = layer->stageCount;
    if (!enterTargets(pt, 6)) return false;
    for (int n = 0; n < 10 * kFps && layer->stageCount == stage; ++n)
        pt.step(1);
    return layer->stageCount == stage + 1 && settleRing(pt);
}

// The busiest state a round reaches: a late stage (several solved, at the shortest time),
// obstructions over all six targets, the bonus light, the stage-clear lights, five answers
// entered, the timer, the stars, the ground and the score. Returns null on failure.
inline GameLayer* busiestRound(Playtest& pt, int solvedStages = 4) {
    pt.execute("seed 7");
    pt.execute("open game 0 3 3");
    pt.step(kFps);
    for (int i = 0; i < solvedStages; ++i)
        if (!solveStage(pt)) return nullptr;
    GameLayer* layer = roundLayer(pt);
    if (!layer->targetManager->jiyamas[0]) layer->targetManager->addJiyamas(-1);
    if (!enterTargets(pt, 5)) return nullptr;
    // After the entries, which may have taken a bonus of the stage's own.
    if (layer->buttonManager->bonusIndex >= ButtonManager::kButtons) {
        layer->buttonManager->bonusIndex = 2;
        layer->buttonManager->buttons[2]->bonusIndex = 2;
        layer->buttonManager->buttons[2]->bonusAvailable = true;
    }
    layer->effectManager->startStageClear();
    // Long enough for the targets and lights to have grown and the obstructions to flicker.
    pt.step(2 * kFps);
    return layer;
}

// Keeps the stage from timing out, so that the state stays the busiest for as long as needed.
inline void holdTimer(GameLayer* layer) {
    layer->timeSprite->seconds = 4;
}

} // namespace playtest
