#pragma once
#include "game/common/GameConstants.h"

// One place of the row the player has to repeat. Also the one table of the six elements:
// ids 1 water, 2 light, 3 soil, 4 seedling, 5 air, 6 carbon dioxide.
class TargetSprite : public cocos2d::Sprite {
  public:
    CREATE_FUNC(TargetSprite)
    bool init() override;

    void setRandomMaterial();

    static constexpr int kFirstElement = 1;
    static constexpr int kLastElement = 6;
    static bool isElement(int id) { return id >= kFirstElement && id <= kLastElement; }
    // The picture of an element at rest (targets, answers, buttons); null for anything else.
    static const char* plainImage(int id);
    // The picture of an element button while it is held down; null for anything else.
    static const char* pressedImage(int id);

    int kind = 0;
};
