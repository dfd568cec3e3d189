#pragma once
#include "game/common/GameConstants.h"

#include <string>

// The options' buttons: a wordless plate with its words drawn over it in the game's font, shrunk
// to fit where a language's words run long, each in a menu of its own and bound to its control.
namespace OptionButton {

struct Plate {
    const char* normal;
    const char* pressed;
};
constexpr Plate kPlain{"GameScene/rowButton1.png", "GameScene/rowButton2.png"};
constexpr Plate kRed{"GameScene/rowButtonRed1.png", "GameScene/rowButtonRed2.png"};

cocos2d::MenuItemImage* add(cocos2d::Node* parent, const Plate& plate, const std::string& words,
                            const cocos2d::Vec2& at, float scale, const cocos2d::ccMenuCallback& callback,
                            const char* control);
// New words on a button made by add().
void relabel(cocos2d::MenuItemImage* item, const std::string& words);
// Words that never run wider than `width`: smaller, not cut. `drawnAt` is the scale the words'
// parent is drawn at, which the words undo so they show at their own size.
void fit(cocos2d::Label* label, float width, float drawnAt = 1);

} // namespace OptionButton
