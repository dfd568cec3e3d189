#include "game/round/ScoreLabel.h"

#include "game/common/Hub.h"
#include "game/round/GameLayer.h"

USING_NS_CC;

bool ScoreLabel::init() {
    if (!Label::init()) return false;
    scheduleUpdate();
    return true;
}

void ScoreLabel::update(float) {
    auto* layer = hubOf<GameLayer>(this);
    if (!layer) return;
    const int score = layer->score;
    // The engine keeps rendered text, so building the label again each frame costs nothing new.
    initWithTTF("1", kGameFont, 128, Size::ZERO, TextHAlignment::LEFT, TextVAlignment::TOP);
    text = __String::createWithFormat("%d", score);
    setPosition(static_cast<float>(kDesignSize.width * 0.1), static_cast<float>(kDesignSize.height * 0.85));
    setColor(Color3B::GREEN);
    setString(text->getCString());
}
