#pragma once
#include "game/common/GameConstants.h"

#include <string>

// The result panel's "Score" line.
class ResultScoreLabel : public cocos2d::Label {
  public:
    CREATE_FUNC(ResultScoreLabel)
    ResultScoreLabel();
    ~ResultScoreLabel() override;
    bool init() override;

    void startResult();
    void showResult(float delta);

    std::string text;
};
