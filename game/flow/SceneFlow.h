#pragma once
// Every change of scene in the game, in one place, so that no scene needs another's header: each
// fades through white, a second long unless said otherwise, to a scene made from the progress
// handed over (the coins banked, and the timer and life levels bought).
namespace cocos2d {
class Scene;
}

namespace SceneFlow {

// The title, for the program's start: shown at once, with no fade.
cocos2d::Scene* firstScene();

void toTitle();
void toShop(int coins);
// The cut-scene that leads into a round.
void toCutScene(int coins, int timeLevel, int lifeLevel);
void toRound(int coins, int timeLevel, int lifeLevel, float fadeSeconds = 1.0f);

} // namespace SceneFlow
