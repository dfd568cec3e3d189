#pragma once
#include "game/common/GameConstants.h"
#include "game/common/RingPlaces.h"

class GameButton;

// The ring of six element buttons and the back button of one stage. It counts the presses,
// remembers the latest element, and keeps the six buttons showing six different elements.
class ButtonManager : public cocos2d::Node {
  public:
    CREATE_FUNC(ButtonManager)
    ~ButtonManager() override;
    bool init() override;
    void update(float delta) override;

    void createButtons();
    void countPress();
    void setLastKind(int id);
    void clearBonus();
    void onBack(cocos2d::Ref* sender);

    // Where button i (0..5) stands, in the manager's space.
    static cocos2d::Vec2 buttonPosition(int i);

    static constexpr int kButtons = RingPlaces::kButtons;
    static constexpr int kMaxPresses = 6;
    static constexpr int kNoBonus = 6;
    int buttonKinds[kButtons] = {};
    int pressCount = 0;
    int lastKind = 0;
    int bonusIndex = kNoBonus;
    GameButton* buttons[kButtons] = {};
};
