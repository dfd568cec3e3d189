#pragma once
#include "GameConstants.h"

#include <vector>

// On the title, Escape or the pad's B opens a small panel that ends the game; the same again,
// or a tap beside it, closes it. The title stands still meanwhile. Only where the program can
// end itself: a game in a browser page has no quit.
class QuitPanel : public cocos2d::Layer {
  public:
    static QuitPanel* create(cocos2d::Node* title);
    ~QuitPanel() override;
    virtual bool initWithTitle(cocos2d::Node* title);
    void onEnter() override;
    void onExit() override;

    void toggle();
    void quit(cocos2d::Ref* sender);

    cocos2d::Node* title = nullptr;
    cocos2d::Node* panel = nullptr;
    bool isOpen = false;

  private:
    std::vector<cocos2d::Node*> held;
};
