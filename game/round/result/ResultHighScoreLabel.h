#pragma once
#include "game/common/GameConstants.h"

#include <string>

// The result panel's "HighScore" line; it also keeps the best score and calls up the badge.
class ResultHighScoreLabel : public cocos2d::Label {
  public:
    CREATE_FUNC(ResultHighScoreLabel)
    ResultHighScoreLabel();
    ~ResultHighScoreLabel() override;
    bool init() override;

    void startResult();
    void showResult(float delta);

    std::string text;
    cocos2d::UserDefault* userDefault = nullptr;
};
