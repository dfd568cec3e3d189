#pragma once
#include "engine/app/cocos2d.h"

// A scene's children reach their hub layer, and its members, through their parent. Checked:
// a node that hangs elsewhere (a test may build one alone) finds no hub rather than reading
// another class's members as the hub's.
template <typename HubLayer> HubLayer* hubOf(const cocos2d::Node* node) {
    return node ? dynamic_cast<HubLayer*>(node->getParent()) : nullptr;
}
