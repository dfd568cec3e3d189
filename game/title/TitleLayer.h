#pragma once
#include "game/common/GameConstants.h"

class TitleBackGround;
class Title;
class TitlePlayer;
class Tap;
class BackGround;
class StarManager;

// Hub of the title screen: builds its pictures and waits for the one tap that leaves it.
class TitleLayer : public cocos2d::Layer {
  public:
    CREATE_FUNC(TitleLayer)
    ~TitleLayer() override;
    bool init() override;
    bool onTouchBegan(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchMoved(cocos2d::Touch* touch, cocos2d::Event* event) override;
    void onTouchEnded(cocos2d::Touch* touch, cocos2d::Event* event) override;

    bool canTap = true;
    TitleBackGround* titleBackGround = nullptr;
    Title* title = nullptr;
    TitlePlayer* titlePlayer = nullptr;
    Tap* tap = nullptr;
    BackGround* backGround = nullptr;
    StarManager* starManager = nullptr;
};
