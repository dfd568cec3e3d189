#pragma once
#include "game/common/GameConstants.h"

// What the shop's two offers and their price plates truly share. Each offer keeps its own
// members, icons and drawing order; only these steps are one and the same.
namespace OfferParts {

void preloadSounds();
// A purchase made, or refused (too few coins, or sold out).
void playBought();
void playRefused();
// `item` in a menu of its own, the menu scaled about the screen centre and the item at
// (fx, fy) of the design size.
cocos2d::Menu* menuFor(cocos2d::MenuItemImage* item, float scale, double fx, double fy);
// A price plate's text, rebuilt every frame: "MAX" once sold out, else the price.
void writePrice(cocos2d::Label* plate, cocos2d::__String*& text, bool soldOut, int price);

} // namespace OfferParts
