#pragma once
#include "game/common/GameConstants.h"

class EventNode;
class EventPlantNode;
class BackGround;
class StarManager;
class SpeedGround;

// Hub of the cut-scene: runs the story step by step and hands the progress on to the round.
class EventLayer : public cocos2d::Layer {
  public:
    static EventLayer* create(int coins, int timeLevel, int lifeLevel);
    ~EventLayer() override;
    bool onTouchBegan(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchMoved(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchEnded(cocos2d::Touch* touch, cocos2d::Event* event) override;
    virtual bool initWithProgress(int coins, int timeLevel, int lifeLevel);

    // The steps of the story, each scheduling the next.
    void startEvent(float delta);
    void moveNodeOut(float delta);
    void movePlanetIn(float delta);
    void movePlanetBack(float delta);
    void showPlantBom(float delta);
    void endEvent(float delta);

    cocos2d::UserDefault* userDefault = nullptr;
    // True until the round has been asked for, by a tap or by the end of the story.
    bool canSkip = true;
    EventNode* eventNode = nullptr;
    EventPlantNode* eventPlantNode = nullptr;
    BackGround* backGround = nullptr;
    StarManager* starManager = nullptr;
    SpeedGround* speedGround = nullptr;

  private:
    void startRound(float fadeSeconds);
};
