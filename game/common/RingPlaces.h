#pragma once
// Where the six element buttons stand on the ring: the round draws them there, and the controls
// point the D-pad and the sticks at the button lying in their direction.
#include "game/common/GameConstants.h"

namespace RingPlaces {

constexpr int kButtons = 6;

// The centre of button `i` (0 to 5, clockwise from the top left) in design units.
cocos2d::Vec2 position(int i);

} // namespace RingPlaces
