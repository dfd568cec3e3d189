#include "game/round/result/ResultHighScoreLabel.h"

#include "game/common/GameTexts.h"
#include "game/common/Hub.h"
#include "game/common/SavedKeys.h"
#include "game/round/GameLayer.h"
#include "game/round/HighScoreSprite.h"

USING_NS_CC;

ResultHighScoreLabel::ResultHighScoreLabel() : Label(TextHAlignment::LEFT, TextVAlignment::TOP) {}

ResultHighScoreLabel::~ResultHighScoreLabel() = default;

bool ResultHighScoreLabel::init() {
    if (!Label::init()) return false;
    userDefault = UserDefault::getInstance();
    return true;
}

void ResultHighScoreLabel::startResult() {
    scheduleOnce(CC_SCHEDULE_SELECTOR(ResultHighScoreLabel::showResult), 2.0f);
}

void ResultHighScoreLabel::showResult(float) {
    auto* layer = hubOf<GameLayer>(this);
    if (!layer) return;
    const int score = layer->score;
    // Only a strictly better round is a new best; a tie leaves the store alone. The round
    // banked it with its coins already; the best only ever grows.
    if (userDefault->getIntegerForKey(keys::kHighScore) < score)
        userDefault->setIntegerForKey(keys::kHighScore, score);
    if (layer->bestBefore < score && layer->highScoreSprite) layer->highScoreSprite->showNewHighScore();
    text = GameTexts::tr(GameTexts::kResultHighScore) + "  " +
           std::to_string(userDefault->getIntegerForKey(keys::kHighScore));
    initWithTTF(text, kGameFont, 200, Size::ZERO, TextHAlignment::LEFT, TextVAlignment::TOP);
    setPosition(kDesignSize.width / 2, static_cast<float>(kDesignSize.height * 0.6));
    setColor(Color3B::GREEN);
    setString(text);
    // A longer word than English's (Russian, Japanese) may not leave room for a long score.
    const float room = kDesignSize.width * 0.95f;
    if (getContentSize().width > room) setScale(room / getContentSize().width);
}
