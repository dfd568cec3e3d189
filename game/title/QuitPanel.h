#pragma once
#include "game/common/GameConstants.h"

#include <vector>

class TitleLayer;

// On the title, Escape or the pad's B opens a small panel that ends the game, its highlight on
// the way back; BACK, the same key again, or a tap beside the panel closes it. The title stands
// still meanwhile. While the title waits, a hint in its corner tells the key that opens it. Only
// where the program can end itself: a game in a browser page has no quit.
class QuitPanel : public cocos2d::Layer {
  public:
    static QuitPanel* create(TitleLayer* title);
    ~QuitPanel() override;
    virtual bool initWithTitle(TitleLayer* title);
    void onEnter() override;
    void onExit() override;
    void update(float dt) override;

    void toggle();
    void back(cocos2d::Ref* sender);
    void quit(cocos2d::Ref* sender);

    TitleLayer* title = nullptr;
    cocos2d::Node* panel = nullptr;
    // The corner's hint: the word, and the point its key's badge is drawn at.
    cocos2d::Node* hint = nullptr;
    bool isOpen = false;

  private:
    std::vector<cocos2d::Node*> held;
};
