#pragma once
#include "game/common/GameConstants.h"

#include <vector>

// A whole branch of the scene held still under a panel, and let go again: only the nodes that
// were running are paused, so a node that paused itself stays paused afterwards.
namespace PauseTree {

inline void hold(cocos2d::Node* root, std::vector<cocos2d::Node*>& held) {
    if (!root) return;
    if (!root->isPausedForScheduling()) {
        root->pause();
        held.push_back(root);
    }
    for (auto* child : root->getChildren())
        hold(child, held);
}

inline void release(std::vector<cocos2d::Node*>& held) {
    for (auto* node : held)
        node->resume();
    held.clear();
}

} // namespace PauseTree
