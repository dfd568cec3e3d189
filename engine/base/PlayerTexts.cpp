#include "engine/base/PlayerTexts.h"

#include <utility>

namespace cocos2d {

namespace {
PlayerTexts& current() {
    static PlayerTexts texts = [] {
        PlayerTexts plain;
        plain.volume = [](int percent) { return std::to_string(percent) + " %"; };
        return plain;
    }();
    return texts;
}
} // namespace

void PlayerTexts::set(PlayerTexts texts) {
    current() = std::move(texts);
}

const PlayerTexts& PlayerTexts::get() {
    return current();
}

} // namespace cocos2d
