#pragma once
#include "game/common/GameConstants.h"
#include "game/options/OptionButton.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// The options, over the title or the round's pause panel: the music's and the effects' volumes
// apart, fullscreen where the platform has it, the language, the controls, starting over (asked
// once more first, the highlight on CANCEL) and the credits. Its host hands it what only the host
// knows: when it may open, how to stand still under it, and, in a round, how to give the round
// up before progress is erased.
class OptionsPanel : public cocos2d::Layer {
  public:
    struct Host {
        // Whether the panel may open now (the title not on its way out, no fade).
        std::function<bool()> canOpen;
        // The host stands still under the panel (true) and goes on again (false).
        std::function<void(bool held)> hold;
        // In a round: leaves it, as its TITLE does, once progress has been erased. The coins a
        // round carries and its levels are progress too: playing on would bring them back.
        std::function<void()> giveUp;
    };

    static OptionsPanel* create(Host host);
    ~OptionsPanel() override;
    virtual bool initWithHost(Host host);
    void update(float dt) override;

    // The button that opens the panel, in the host's place for it; hidden while the panel is
    // open or cannot open.
    cocos2d::MenuItemImage* addOpener(cocos2d::Node* parent, const cocos2d::Vec2& at, float scale);
    void open(cocos2d::Ref* sender);
    void close(cocos2d::Ref* sender);
    void musicDown(cocos2d::Ref* sender);
    void musicUp(cocos2d::Ref* sender);
    void effectsDown(cocos2d::Ref* sender);
    void effectsUp(cocos2d::Ref* sender);
    void toggleFullscreen(cocos2d::Ref* sender);
    void nextLanguage(cocos2d::Ref* sender);
    void openControls(cocos2d::Ref* sender);
    void askStartOver(cocos2d::Ref* sender);
    void cancelStartOver(cocos2d::Ref* sender);
    void eraseProgress(cocos2d::Ref* sender);
    void openCredits(cocos2d::Ref* sender);
    // Back from the credits or the controls page to the panel.
    void backToPanel();

    Host host;
    cocos2d::MenuItemImage* opener = nullptr;
    cocos2d::Node* panel = nullptr;
    cocos2d::Node* ask = nullptr;
    // The credits or the controls page while one is open.
    cocos2d::Node* page = nullptr;
    cocos2d::Node* spentPage = nullptr;
    cocos2d::Label* musicLabel = nullptr;
    cocos2d::Label* effectsLabel = nullptr;
    cocos2d::Label* mutedLabel = nullptr;
    bool isOpen = false;
    bool isAsking = false;

  private:
    void fillPanel();
    void fillAsk();
    // Every word again, in the language now chosen.
    void relabel();
    void showPage(cocos2d::Node* shown);
    cocos2d::Label* addWords(cocos2d::Node* parent, const char* msgid, float size, const cocos2d::Vec2& at,
                             float width);
    cocos2d::MenuItemImage* addItem(cocos2d::Node* parent, const OptionButton::Plate& plate,
                                    const char* msgid, const cocos2d::Vec2& at, float scale,
                                    const cocos2d::ccMenuCallback& callback, const char* control);
    std::string languageWords() const;
    // What each label and button says, by its English words, for a change of language.
    struct Words {
        cocos2d::Label* label;
        const char* msgid;
        float width;
    };
    std::vector<Words> labels;
    std::vector<std::pair<cocos2d::MenuItemImage*, const char*>> buttons;
    cocos2d::MenuItemImage* languageButton = nullptr;
    cocos2d::MenuItemImage* controlsButton = nullptr;
    int wordsGeneration = -1;
};
