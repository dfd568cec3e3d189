#pragma once
#include "game/common/GameConstants.h"

#include <functional>

// The credits over the options: who made what, the licences and the version, rolling up on their
// own; the arrows, Page Up and Down, the D-pad, a stick, the wheel or a drag scroll them, and
// the rolling waits a moment after the player's hand. BACK (Escape, Backspace, B) leaves.
class CreditsPage : public cocos2d::Node {
  public:
    static constexpr float kRollPerSecond = 45;
    // A press of a scrolling key or a notch of the wheel.
    static constexpr float kStep = 80;
    // After the player scrolls, the rolling waits this long.
    static constexpr float kRestSeconds = 3;

    static CreditsPage* create(std::function<void()> onClose);
    ~CreditsPage() override;
    virtual bool initWithClose(std::function<void()> onClose);
    void onEnter() override;
    void onExit() override;
    void update(float dt) override;

    void back(cocos2d::Ref* sender);
    // Moves the lines up (positive) or down, by the player's hand.
    void scrollBy(float units);

    // The lines, moved as one; how far they have rolled, and how tall they are.
    cocos2d::Node* column = nullptr;
    float offset = 0;
    float height = 0;
    float restFor = 0;

  private:
    void place();
    std::function<void()> onClose;
};
