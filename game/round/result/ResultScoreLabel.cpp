#include "game/round/result/ResultScoreLabel.h"

#include "game/common/Hub.h"
#include "game/round/GameLayer.h"

USING_NS_CC;

ResultScoreLabel::ResultScoreLabel() : Label(TextHAlignment::LEFT, TextVAlignment::TOP) {}

ResultScoreLabel::~ResultScoreLabel() = default;

bool ResultScoreLabel::init() {
    return Label::init();
}

void ResultScoreLabel::startResult() {
    scheduleOnce(CC_SCHEDULE_SELECTOR(ResultScoreLabel::showResult), 2.0f);
}

void ResultScoreLabel::showResult(float) {
    auto* layer = hubOf<GameLayer>(this);
    if (!layer) return;
    text = "Score  " + std::to_string(layer->score);
    initWithTTF(text, kGameFont, 200, Size::ZERO, TextHAlignment::LEFT, TextVAlignment::TOP);
    setPosition(kDesignSize.width / 2, static_cast<float>(kDesignSize.height * 0.8));
    setColor(Color3B::GREEN);
    setString(text);
}
