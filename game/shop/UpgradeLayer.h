#pragma once
#include "game/common/GameConstants.h"

class BackGround;
class StarManager;
class CoinSprite;
class UpgradeScore;
class StartButton;
class UpgradePlayer;
class UpgradeNode;
class TimeGaugSprite;
class PriceTime;
class UpgradeLifeNode;
class LifeGaugSprite;
class PriceLife;
class TitleButton;
class UpgradeEventNode;

// Hub of the shop: builds every object of the scene; the children find each other through it.
class UpgradeLayer : public cocos2d::Layer {
  public:
    static UpgradeLayer* create(int coins);
    ~UpgradeLayer() override;
    virtual bool initWithProgress(int coins);
    // The caller has already made sure the balance covers the price.
    void spendCoins(int price);

    cocos2d::UserDefault* userDefault = nullptr;
    BackGround* backGround = nullptr;
    StarManager* starManager = nullptr;
    CoinSprite* coinSprite = nullptr;
    UpgradeScore* upgradeScore = nullptr;
    StartButton* startButton = nullptr;
    UpgradePlayer* upgradePlayer = nullptr;
    UpgradeNode* upgradeNode = nullptr;
    TimeGaugSprite* timeGaugSprite = nullptr;
    PriceTime* priceTime = nullptr;
    UpgradeLifeNode* upgradeLifeNode = nullptr;
    LifeGaugSprite* lifeGaugSprite = nullptr;
    PriceLife* priceLife = nullptr;
    TitleButton* titleButton = nullptr;
    UpgradeEventNode* upgradeEventNode = nullptr;
    // Set once the start or title button has asked for the next scene. Presses that arrive
    // before the fade begins must not buy anything the next scene would not see.
    bool isLeaving = false;
};
