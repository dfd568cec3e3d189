#pragma once
#include "game/common/GameConstants.h"

// One element button of the ring. Shows no picture itself: its look is the image button it holds.
class GameButton : public cocos2d::Sprite {
  public:
    CREATE_FUNC(GameButton)
    ~GameButton() override;
    bool init() override;

    void rollKind();

    // One press handler per element, each bound to the image button of its element.
    void onPressedWater(cocos2d::Ref* sender);
    void onPressedLight(cocos2d::Ref* sender);
    void onPressedSoil(cocos2d::Ref* sender);
    void onPressedSeedling(cocos2d::Ref* sender);
    void onPressedAir(cocos2d::Ref* sender);
    void onPressedCarbonDioxide(cocos2d::Ref* sender);

    // 0..5; the element id is kind + 1.
    int kind = 0;
    int bonusIndex = -1;
    bool bonusAvailable = true;

    // The control that presses this button, and the image button it presses: the newest.
    const char* control = nullptr;
    cocos2d::MenuItemImage* newestItem = nullptr;
    void setControl(const char* name);

  private:
    void onPressed(int elementId);
};
