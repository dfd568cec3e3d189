#include "game/round/TargetManager.h"

#include "game/round/JiyamaSprite.h"
#include "game/round/TargetSprite.h"

USING_NS_CC;

Vec2 TargetManager::placePosition(int i) {
    return Vec2(static_cast<float>(kDesignSize.width * (0.3 + 0.08 * i)),
                static_cast<float>(kDesignSize.height * 0.9));
}

bool TargetManager::init() {
    if (!Node::init()) return false;
    jNo = Random::uniformInt(0, 100);
    createTargets();
    return true;
}

void TargetManager::createTargets() {
    for (int i = 0; i < kPlaces; ++i) {
        // The row grows in from the left, each place 0.2 s after its neighbour.
        auto* grow = ScaleTo::create(0.2f * static_cast<float>(i + 1), 0.5f);
        targets[i] = TargetSprite::create();
        targets[i]->setPosition(placePosition(i));
        targets[i]->setScale(0.1f);
        addChild(targets[i], 1);
        targets[i]->runAction(grow);
    }
}

void TargetManager::addJiyamas(int threshold) {
    if (jNo <= threshold) return;
    for (int i = 0; i < kPlaces; ++i) {
        jiyamas[i] = JiyamaSprite::create();
        jiyamas[i]->setPosition(placePosition(i));
        jiyamas[i]->setScale(1.0f);
        addChild(jiyamas[i], 2);
    }
}
