#include "game/figures/StarManager.h"

#include "game/figures/Star.h"

USING_NS_CC;

bool StarManager::init() {
    if (!Node::init()) return false;
    for (auto& star : stars) {
        star = Star::create();
        star->setPosition(Star::randomSpot());
        addChild(star);
    }
    return true;
}
