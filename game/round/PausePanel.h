#pragma once
#include "game/common/GameConstants.h"

#include <vector>

class GameLayer;
class OptionsPanel;

// The round's pause: a small button in a corner opens a panel over the round, which stands
// still under it (timer, actions, music) until resumed. The panel sets the sound, switches
// fullscreen, or leaves for the title, forfeiting the round as closing the window would: that
// is asked once more first, the highlight on the way back.
class PausePanel : public cocos2d::Layer {
  public:
    static PausePanel* create(GameLayer* round);
    ~PausePanel() override;
    virtual bool initWithRound(GameLayer* round);
    void update(float dt) override;

    void open(cocos2d::Ref* sender);
    // Not resume(): that name is the node's own (its actions and schedules).
    void resumeRound(cocos2d::Ref* sender);
    void volumeDown(cocos2d::Ref* sender);
    void volumeUp(cocos2d::Ref* sender);
    void toggleMute(cocos2d::Ref* sender);
    void toggleFullscreen(cocos2d::Ref* sender);
    // TITLE: the question before the round is given up; its BACK, and its TITLE that leaves.
    void askLeave(cocos2d::Ref* sender);
    void keepRound(cocos2d::Ref* sender);
    void leave(cocos2d::Ref* sender);
    // Leaves the round for the title at once, forfeiting it.
    void giveUp();

    GameLayer* round = nullptr;
    cocos2d::Menu* pauseButton = nullptr;
    cocos2d::Node* panel = nullptr;
    cocos2d::Label* soundLabel = nullptr;
    cocos2d::Node* ask = nullptr;
    OptionsPanel* options = nullptr;
    bool isOpen = false;
    bool isAsking = false;
    bool isLeaving = false;

  private:
    void fillPanel();
    void fillAsk();
    std::vector<cocos2d::Node*> held;
};
