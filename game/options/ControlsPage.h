#pragma once
#include "game/common/GameConstants.h"

#include <functional>
#include <string>
#include <vector>

class ControlsRow;

// The controls, each with the key and pad button the player has bound to it. Picking a row (a
// click, a tap, or the highlight) waits for the next key or pad button, which becomes the
// control's: a swap with whatever held it where both can act, or a refusal the note at the
// bottom explains. Escape, a click or a tap elsewhere stop waiting. DEFAULTS puts the table
// back; the Nintendo choice says which button confirms on such a pad. BACK, Escape or the pad's
// B closes the page: everything under it stands still meanwhile, and on closing the page calls
// `onClose` and then leaves its parent by itself.
class ControlsPage : public cocos2d::Layer {
  public:
    static constexpr const char* kDefaultsControl = "controlsDefaults";
    static constexpr const char* kNintendoControl = "controlsNintendo";

    static ControlsPage* create(std::function<void()> onClose);
    ~ControlsPage() override;
    virtual bool initWithClose(std::function<void()> onClose);
    void onEnter() override;
    void onExit() override;
    void update(float dt) override;

    // Waits for the next key or pad button for `control`.
    void pick(const std::string& control);
    void restoreDefaults(cocos2d::Ref* sender);
    void toggleNintendo(cocos2d::Ref* sender);
    void back(cocos2d::Ref* sender);
    // The rows, the choice and the words drawn again: after a binding, or with a new language.
    void refresh();

    std::function<void()> onClose;
    std::vector<ControlsRow*> rows;
    // The control waiting for its new input, or empty.
    std::string waiting;
    cocos2d::Label* note = nullptr;
    cocos2d::Label* nintendoWords = nullptr;
    cocos2d::Label* defaultsWords = nullptr;
    bool closed = false;

  private:
    void taken(cocos2d::InputMap::Device device, const std::string& name);
    void dismiss(float dt);
    std::vector<cocos2d::Node*> held;
    std::vector<std::string> menuBefore;
    cocos2d::Label* heading = nullptr;
    // Over each column: the keyboard's heading, then the pad's.
    std::vector<cocos2d::Label*> columnHeadings;
    int language = -1;
    std::string padFamily;
};
