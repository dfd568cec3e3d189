// The options' START OVER: the question asked first, its CANCEL and its ERASE.
#include "game/common/Controls.h"
#include "game/common/GameTexts.h"
#include "game/common/PanelParts.h"
#include "game/options/OptionButton.h"
#include "game/options/OptionsPanel.h"
#include "game/options/StartOver.h"

USING_NS_CC;

void OptionsPanel::fillAsk() {
    if (!ask->getChildren().empty()) return;
    PanelParts::fill(ask, "TitleScene/quitPlate.png", 120);
    addWords(ask, GameTexts::kStartOverQuestion, 60, Vec2(960, 680), 820);
    addWords(ask, GameTexts::kStartOverDetail, 34, Vec2(960, 600), 820);
    if (host.giveUp) addWords(ask, GameTexts::kStartOverInRound, 34, Vec2(960, 550), 820);
    // CANCEL first: the highlight starts on it, so a slip of Enter erases nothing.
    addItem(ask, OptionButton::kPlain, GameTexts::kCancel, Vec2(740, 420), 0.75f,
            CC_CALLBACK_1(OptionsPanel::cancelStartOver, this), Controls::kOptionsBack);
    addItem(ask, OptionButton::kRed, GameTexts::kErase, Vec2(1180, 420), 0.75f,
            CC_CALLBACK_1(OptionsPanel::eraseProgress, this), Controls::kErase);
}

void OptionsPanel::askStartOver(Ref*) {
    if (!isOpen || isAsking || page) return;
    isAsking = true;
    fillAsk();
    PanelParts::playClick();
    PanelParts::show(panel, false);
    PanelParts::show(ask, true);
}

void OptionsPanel::cancelStartOver(Ref*) {
    if (!isAsking) return;
    isAsking = false;
    PanelParts::playClick();
    PanelParts::show(ask, false);
    PanelParts::show(panel, true);
}

void OptionsPanel::eraseProgress(Ref*) {
    if (!isAsking) return;
    StartOver::erase();
    PanelParts::playClick();
    if (host.giveUp) {
        // The round goes too; the panel stays shown over it until the fade has taken it.
        host.giveUp();
        return;
    }
    isAsking = false;
    PanelParts::show(ask, false);
    PanelParts::show(panel, true);
}
