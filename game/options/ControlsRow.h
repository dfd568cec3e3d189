#pragma once
#include "game/common/GameConstants.h"

#include <string>

// One line of the controls page: the control's name, then the badges of its key and of its pad
// button as the player has bound them, over a bar the player picks (a click, a tap, or the
// highlight) to bind it again.
class ControlsRow : public cocos2d::Node {
  public:
    static constexpr float kWidth = 900;
    static constexpr float kHeight = 46;
    // The menu control a row is pressed by: "controlsRow." and the control's name.
    static std::string menuControl(const std::string& control);

    static ControlsRow* create(const std::string& control, const cocos2d::ccMenuCallback& picked);
    virtual bool initWithControl(const std::string& control, const cocos2d::ccMenuCallback& picked);
    // The words and badges drawn again; `waiting` shows the prompt in place of the key's badge.
    void show(bool waiting);

    std::string control;
    cocos2d::MenuItemImage* bar = nullptr;
    cocos2d::Label* name = nullptr;
    // What the badges show now: the key's label (empty for none) and the pad's picture.
    std::string keyText, padPicture;

  private:
    cocos2d::Node* badges = nullptr;
};
