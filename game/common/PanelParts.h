#pragma once
#include "game/common/GameConstants.h"
#include "game/common/PlateLabel.h"

#include <string>

// What the panels laid over a scene (the round's pause, the title's quit) are made of: a hidden
// node holding a dimmer over the scene and the panel's plate, then its texts and its buttons,
// each button in a menu of its own and bound to its control.
namespace PanelParts {

constexpr const char* kClick = "Music/botton.mp3";

// The panel, hidden and empty.
cocos2d::Node* create();
// The dimmer at `dimOpacity` and `plate` at the screen centre, under what is added next. A
// picture that cannot be read leaves a gap, not a crash.
void fill(cocos2d::Node* panel, const char* plate, uint8_t dimOpacity);
cocos2d::Label* addText(cocos2d::Node* panel, const std::string& text, float size, const cocos2d::Vec2& at);
// New words for a text that never runs wider than `width`: a long translation is drawn smaller.
void setFittedText(cocos2d::Label* label, const std::string& text, float width);
cocos2d::MenuItemImage* addButton(cocos2d::Node* panel, const char* picture, const char* pressed,
                                  const cocos2d::Vec2& at, const cocos2d::ccMenuCallback& callback,
                                  const char* control, const PlateWord* word = nullptr);
void playClick();
// Shows or hides the panel. A panel shown starts its highlight on its first button, the safe
// one (RESUME, BACK), whatever was chosen the last time it was open.
void show(cocos2d::Node* panel, bool shown);

} // namespace PanelParts
