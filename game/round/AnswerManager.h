#pragma once
#include "game/common/GameConstants.h"

class Answer;

// The answer row of one stage: fills a place per press, checks the entered row against the
// targets, and ends the stage once all six are right.
class AnswerManager : public cocos2d::Node {
  public:
    CREATE_FUNC(AnswerManager)
    ~AnswerManager() override;
    bool init() override;

    void createAnswers();
    void checkPress();
    void checkComplete();
    void hideLastAnswer();
    void scheduleEndStage();
    void endStage(float delta);

    static constexpr int kPlaces = 6;
    Answer* answers[kPlaces] = {};

  private:
    // Whether places 1..n hold the first n targets.
    bool prefixMatches(int n) const;
};
