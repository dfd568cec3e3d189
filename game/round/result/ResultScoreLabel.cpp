#include "game/round/result/ResultScoreLabel.h"

#include "game/common/GameTexts.h"
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
    text = GameTexts::tr(GameTexts::kResultScore) + "  " + std::to_string(layer->score);
    initWithTTF(text, kGameFont, 200, Size::ZERO, TextHAlignment::LEFT, TextVAlignment::TOP);
    setPosition(kDesignSize.width / 2, static_cast<float>(kDesignSize.height * 0.8));
    setColor(Color3B::GREEN);
    setString(text);
    // A longer word than English's (Russian, Japanese) may not leave room for a long score.
    const float room = kDesignSize.width * 0.95f;
    if (getContentSize().width > room) setScale(room / getContentSize().width);
}
