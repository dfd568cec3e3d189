#include "PlayerTexts.h"

#include <utility>

namespace cocos2d {

namespace {
PlayerTexts& current() {
    static PlayerTexts texts{"", "", "", "", [](int percent) { return std::to_string(percent) + " %"; }, ""};
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
