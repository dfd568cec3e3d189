#include "PausePanel.h"

#include "AnswerPlate.h"
#include "Controls.h"
#include "GameLayer.h"
#include "PauseTree.h"
#include "SimpleAudioEngine.h"
#include "SoundSettings.h"
#include "TitleScene.h"

#include <new>
#include <string>

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace {
constexpr const char* kFont = "fonts/PixelMplus10-Regular.ttf";
constexpr const char* kClick = "Music/botton.mp3";
// Clear of the score and the timer, in the top right corner.
const Vec2 kPauseButtonAt(kDesignSize.width - 110, kDesignSize.height - 95);

std::string soundText() {
    if (SoundSettings::isMuted()) return "Sound off";
    return "Volume " + std::to_string(SoundSettings::volumePercent()) + " %";
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
    SimpleAudioEngine::getInstance()->preloadEffect(kClick);

    auto* item = MenuItemImage::create("GameScene/pauseButton1.png", "GameScene/pauseButton2.png",
                                       CC_CALLBACK_1(PausePanel::open, this));
    InputMap::getInstance()->attach(Controls::kPause, item);
    pauseButton = Menu::create(item);
    pauseButton->setPosition(kPauseButtonAt);
    addChild(pauseButton, 1);

    panel = Node::create();
    panel->setVisible(false);
    addChild(panel, 2);
    auto* dim = Sprite::create("GameScene/black2.png");
    dim->setPosition(kScreenCentre);
    dim->setOpacity(170);
    panel->addChild(dim);
    auto* plate = Sprite::create("GameScene/pausePlate.png");
    plate->setPosition(kScreenCentre);
    panel->addChild(plate);
    auto* heading = Label::createWithTTF("PAUSED", kFont, 90);
    heading->setAnchorPoint(Vec2(0.5f, 0.5f));
    heading->setPosition(960, 875);
    panel->addChild(heading);
    soundLabel = Label::createWithTTF(soundText(), kFont, 44);
    soundLabel->setAnchorPoint(Vec2(0.5f, 0.5f));
    soundLabel->setPosition(960, 560);
    panel->addChild(soundLabel);

    addButton("GameScene/resumeButton", Vec2(960, 720), CC_CALLBACK_1(PausePanel::resumeRound, this),
              Controls::kResume);
    addButton("GameScene/volumeDownButton", Vec2(720, 560), CC_CALLBACK_1(PausePanel::volumeDown, this),
              Controls::kSoundDown);
    addButton("GameScene/volumeUpButton", Vec2(1200, 560), CC_CALLBACK_1(PausePanel::volumeUp, this),
              Controls::kSoundUp);
    addButton("GameScene/muteButton", Vec2(720, 400), CC_CALLBACK_1(PausePanel::toggleMute, this),
              Controls::kSoundMute);
    addButton("GameScene/fullscreenButton", Vec2(1180, 400),
              CC_CALLBACK_1(PausePanel::toggleFullscreen, this), Controls::kFullscreen);
    addButton("GameScene/titleButton", Vec2(960, 230), CC_CALLBACK_1(PausePanel::leave, this),
              Controls::kLeaveRound);
    scheduleUpdate();
    return true;
}

MenuItemImage* PausePanel::addButton(const char* picture, const Vec2& at, const ccMenuCallback& callback,
                                     const char* control) {
    const std::string name = picture;
    auto* item = MenuItemImage::create(name + "1.png", name + "2.png", callback);
    InputMap::getInstance()->attach(control, item);
    auto* menu = Menu::create(item);
    menu->setPosition(at);
    panel->addChild(menu, 1);
    return item;
}

void PausePanel::update(float) {
    // Only a round under way pauses: not the lost round's result panel, nor on the way out.
    pauseButton->setVisible(!isOpen && !isLeaving && round && round->answerPlate);
    if (isOpen) soundLabel->setString(soundText());
}

void PausePanel::open(Ref*) {
    if (isOpen || isLeaving || !round || !round->answerPlate) return;
    isOpen = true;
    PauseTree::hold(round, held);
    SimpleAudioEngine::getInstance()->holdBackgroundMusic(true);
    SimpleAudioEngine::getInstance()->playEffect(kClick, false, 1.0f, 0.0f, 1.0f);
    panel->setVisible(true);
    update(0);
}

void PausePanel::resumeRound(Ref*) {
    if (!isOpen || isLeaving) return;
    isOpen = false;
    panel->setVisible(false);
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

void PausePanel::leave(Ref*) {
    if (!isOpen || isLeaving) return;
    isLeaving = true;
    // The round is given up as if the window had closed: what was banked before stays banked.
    auto* audio = SimpleAudioEngine::getInstance();
    audio->stopBackgroundMusic(false);
    audio->holdBackgroundMusic(false);
    audio->playEffect(kClick, false, 1.0f, 0.0f, 1.0f);
    Director::getInstance()->replaceScene(TransitionFade::create(1.0f, TitleScene::create(), Color3B::WHITE));
}
