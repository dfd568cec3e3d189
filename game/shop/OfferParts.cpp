#include "game/shop/OfferParts.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "game/common/GameTexts.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace {
constexpr const char* kBoughtSound = "Music/cursor6.mp3";
constexpr const char* kRefusedSound = "Music/cursor9.mp3";

void play(const char* file) {
    SimpleAudioEngine::getInstance()->playEffect(file, false, 1.0f, 0.0f, 1.0f);
}
} // namespace

void OfferParts::preloadSounds() {
    SimpleAudioEngine::getInstance()->preloadEffect(kBoughtSound);
    SimpleAudioEngine::getInstance()->preloadEffect(kRefusedSound);
}

void OfferParts::playBought() {
    play(kBoughtSound);
}

void OfferParts::playRefused() {
    play(kRefusedSound);
}

Menu* OfferParts::menuFor(MenuItemImage* item, float scale, double fx, double fy) {
    Menu* menu = Menu::create(item);
    menu->setScale(scale);
    item->setPosition(static_cast<float>(kDesignSize.width * fx),
                      static_cast<float>(kDesignSize.height * fy));
    menu->setPosition(Vec2::ZERO);
    return menu;
}

void OfferParts::writePrice(Label* plate, __String*& text, bool soldOut, int price) {
    if (soldOut) {
        plate->initWithTTF(GameTexts::tr(GameTexts::kMax), kGameFont, 96, Size::ZERO, TextHAlignment::LEFT,
                           TextVAlignment::TOP);
        return;
    }
    plate->initWithTTF("1", kGameFont, 96, Size::ZERO, TextHAlignment::LEFT, TextVAlignment::TOP);
    text = __String::createWithFormat("%d", price);
    plate->setString(text->getCString());
}
