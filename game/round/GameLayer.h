#pragma once
#include "game/common/GameConstants.h"

class BackGround;
class StarManager;
class SpeedGround;
class Player;
class PlantBom;
class TargetManager;
class ButtonManager;
class AnswerManager;
class TimeSprite;
class Planet;
class ResultGround;
class ScoreLabel;
class ResultScoreLabel;
class RetryButton;
class UpgradeButton;
class TargetPlate;
class AnswerPlate;
class ResultHighScoreLabel;
class ScorePlate;
class HighScoreSprite;
class BarrierField;
class EffectManager;
class BonusEffect;

// The hub of a round: builds the round and each stage, and every object of the round finds
// its siblings through these members. Stage members are null while no stage is set up.
class GameLayer : public cocos2d::Layer {
  public:
    static GameLayer* create(int coins, int timeLevel, int lifeLevel);
    ~GameLayer() override;
    virtual bool initWithProgress(int coins, int timeLevel, int lifeLevel);

    void setUpStage();
    void clearStage();
    void clearStageForGameOver();
    void bankScore();
    void loseLife();
    void addScore();
    void addBonusScore();
    void hideButtons();
    void removeEffectManager();
    void stopMusic();

    cocos2d::UserDefault* userDefault = nullptr;
    BackGround* backGround = nullptr;
    StarManager* starManager = nullptr;
    SpeedGround* speedGround = nullptr;
    Player* player = nullptr;
    PlantBom* plantBom = nullptr;
    TargetManager* targetManager = nullptr;
    ButtonManager* buttonManager = nullptr;
    AnswerManager* answerManager = nullptr;
    TimeSprite* timeSprite = nullptr;
    Planet* planet = nullptr;
    ResultGround* resultGround = nullptr;
    ScoreLabel* scoreLabel = nullptr;
    ResultScoreLabel* resultScoreLabel = nullptr;
    RetryButton* retryButton = nullptr;
    UpgradeButton* upgradeButton = nullptr;
    TargetPlate* targetPlate = nullptr;
    AnswerPlate* answerPlate = nullptr;
    ResultHighScoreLabel* resultHighScoreLabel = nullptr;
    ScorePlate* scorePlate = nullptr;
    HighScoreSprite* highScoreSprite = nullptr;
    BarrierField* barrierField = nullptr;
    EffectManager* effectManager = nullptr;
    BonusEffect* bonusEffect = nullptr;
    int score = 0;
    // The best score before this round's was banked.
    int bestBefore = 0;
    int lives = 0;
    int jiyamaThreshold = 101;
    int stageCount = 0;
};
