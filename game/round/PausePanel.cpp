#include "game/round/PausePanel.h"

#include "engine/app/SoundSettings.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/PlayerTexts.h"
#include "game/common/Controls.h"
#include "game/common/GameTexts.h"
#include "game/common/PanelParts.h"
#include "game/common/PauseTree.h"
#include "game/common/PlateWords.h"
#include "game/flow/SceneFlow.h"
#include "game/options/OptionsPanel.h"
#include "game/round/AnswerPlate.h"
#include "game/round/GameLayer.h"

#include <new>
#include <string>

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace {
// Clear of the score and the timer, in the top right corner.
const Vec2 kPauseButtonAt(kDesignSize.width - 110, kDesignSize.height - 95);
// The room between the volume buttons.
constexpr float kSoundTextWidth = 300;

std::string soundText() {
    const PlayerTexts& texts = PlayerTexts::get();
    return SoundSettings::isMuted() ? texts.soundOff : texts.volume(SoundSettings::volumePercent());
}
} // namespace

PausePanel* PausePanel::create(GameLayer* round) {
    auto* panel = new (std::nothrow) PausePanel();
    if (panel && panel->initWithRound(round)) {
        panel->autorelease();
        return panel;
    }
    delete panel;
    return nullptr;
}

PausePanel::~PausePanel() = default;

bool PausePanel::initWithRound(GameLayer* layer) {
    if (!Layer::init()) return false;
    round = layer;

    auto* item = MenuItemImage::create("GameScene/pauseButton1.png", "GameScene/pauseButton2.png",
                                       CC_CALLBACK_1(PausePanel::open, this));
    InputMap::getInstance()->attach(Controls::kPause, item);
    pauseButton = Menu::create(item);
    pauseButton->setPosition(kPauseButtonAt);
    addChild(pauseButton, 1);

    // The panel's pictures are read when it first opens: a player who never pauses never holds them.
    panel = PanelParts::create();
    addChild(panel, 2);
    ask = PanelParts::create();
    addChild(ask, 2);
    // The options open over the pause panel, which steps aside meanwhile. Starting over from
    // here gives the round up, as TITLE does: its coins and levels are progress too.
    options = OptionsPanel::create({
        .canOpen = [this] { return isOpen && !isAsking && !isLeaving; },
        .hold = [this](bool held) { PanelParts::show(panel, !held); },
        .giveUp = [this] { giveUp(); },
    });
    addChild(options, 3);
    scheduleUpdate();
    return true;
}

void PausePanel::fillPanel() {
    if (!panel->getChildren().empty()) return;
    PanelParts::fill(panel, "GameScene/pausePlate.png", 170);
    PanelParts::addText(panel, GameTexts::tr(GameTexts::kPaused), 90, Vec2(960, 875));
    soundLabel = PanelParts::addText(panel, "", 44, Vec2(960, 560));
    PanelParts::setFittedText(soundLabel, soundText(), kSoundTextWidth);

    const struct {
        const char* picture;
        Vec2 at;
        ccMenuCallback callback;
        const char* control;
        const PlateWord* word;
    } buttons[] = {
        {"resume", Vec2(960, 720), CC_CALLBACK_1(PausePanel::resumeRound, this), Controls::kResume,
         &PlateWords::kResume},
        {"volumeDown", Vec2(720, 560), CC_CALLBACK_1(PausePanel::volumeDown, this), Controls::kSoundDown,
         nullptr},
        {"volumeUp", Vec2(1200, 560), CC_CALLBACK_1(PausePanel::volumeUp, this), Controls::kSoundUp, nullptr},
        {"mute", Vec2(720, 400), CC_CALLBACK_1(PausePanel::toggleMute, this), Controls::kSoundMute,
         &PlateWords::kMute},
        {"fullscreen", Vec2(1180, 400), CC_CALLBACK_1(PausePanel::toggleFullscreen, this),
         Controls::kFullscreen, &PlateWords::kFullscreen},
        {"title", Vec2(720, 230), CC_CALLBACK_1(PausePanel::askLeave, this), Controls::kLeaveRound,
         &PlateWords::kTitle},
    };
    for (const auto& button : buttons) {
        const std::string name = std::string("GameScene/") + button.picture + "Button";
        PanelParts::addButton(panel, (name + "1.png").c_str(), (name + "2.png").c_str(), button.at,
                              button.callback, button.control, button.word);
    }
    options->addOpener(panel, Vec2(1180, 230), 0.9f);
}

void PausePanel::fillAsk() {
    if (!ask->getChildren().empty()) return;
    PanelParts::fill(ask, "TitleScene/quitPlate.png", 170);
    PanelParts::addText(ask, GameTexts::tr(GameTexts::kGiveUpQuestion), 64, Vec2(960, 640));
    PanelParts::addButton(ask, "GameScene/backButton1.png", "GameScene/backButton2.png", Vec2(720, 450),
                          CC_CALLBACK_1(PausePanel::keepRound, this), Controls::kPanelBack,
                          &PlateWords::kBack);
    PanelParts::addButton(ask, "GameScene/titleButton1.png", "GameScene/titleButton2.png", Vec2(1180, 450),
                          CC_CALLBACK_1(PausePanel::leave, this), Controls::kLeaveRound, &PlateWords::kTitle);
}

void PausePanel::update(float) {
    // Only a round under way pauses: not the lost round's result panel, nor on the way out.
    pauseButton->setVisible(!isOpen && !isLeaving && round && round->answerPlate);
    if (isOpen && soundLabel->getString() != soundText())
        PanelParts::setFittedText(soundLabel, soundText(), kSoundTextWidth);
}

void PausePanel::open(Ref*) {
    if (isOpen || isLeaving || !round || !round->answerPlate) return;
    isOpen = true;
    fillPanel();
    PauseTree::hold(round, held);
    SimpleAudioEngine::getInstance()->holdBackgroundMusic(true);
    PanelParts::playClick();
    PanelParts::show(panel, true);
    update(0);
}

void PausePanel::resumeRound(Ref*) {
    if (!isOpen || isAsking || isLeaving || options->isOpen) return;
    isOpen = false;
    PanelParts::show(panel, false);
    PauseTree::release(held);
    SimpleAudioEngine::getInstance()->holdBackgroundMusic(false);
    update(0);
}

void PausePanel::volumeDown(Ref*) {
    SoundSettings::volumeDown();
}

void PausePanel::volumeUp(Ref*) {
    SoundSettings::volumeUp();
}

void PausePanel::toggleMute(Ref*) {
    SoundSettings::toggleMute();
}

void PausePanel::toggleFullscreen(Ref*) {
    InputMap::getInstance()->runAction(InputMap::kFullscreen);
}

void PausePanel::askLeave(Ref*) {
    if (!isOpen || isAsking || isLeaving || options->isOpen) return;
    isAsking = true;
    fillAsk();
    PanelParts::playClick();
    PanelParts::show(panel, false);
    PanelParts::show(ask, true);
}

void PausePanel::keepRound(Ref*) {
    if (!isAsking || isLeaving) return;
    isAsking = false;
    PanelParts::playClick();
    PanelParts::show(ask, false);
    PanelParts::show(panel, true);
}

void PausePanel::leave(Ref*) {
    if (!isAsking || isLeaving) return;
    giveUp();
}

void PausePanel::giveUp() {
    if (isLeaving) return;
    isLeaving = true;
    // The round is given up as if the window had closed: what was banked before stays banked.
    auto* audio = SimpleAudioEngine::getInstance();
    audio->stopBackgroundMusic(false);
    audio->holdBackgroundMusic(false);
    PanelParts::playClick();
    SceneFlow::toTitle();
}
