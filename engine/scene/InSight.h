#pragma once
// What the player reads on screen, which nothing the engine lays over the game (notes,
// prompts) may cover: every button, every word or number, and the pictures the game keeps in
// sight. Rectangles in design units.
#include "engine/base/Types.h"

#include <vector>

namespace cocos2d {

class Node;

// The smallest upright rectangle round a node's content, on screen.
Rect boxOnScreen(const Node* node);
// Adds what is in sight under `node`; with `activeOnly`, leaves out what a panel holds still
// under itself (paused nodes).
void inSight(const Node* node, std::vector<Rect>& found, bool activeOnly = false);
bool overlaps(const Rect& a, const Rect& b);

} // namespace cocos2d
