#include "game/round/AnswerManager.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "game/common/Hub.h"
#include "game/figures/PlantBom.h"
#include "game/figures/Player.h"
#include "game/round/Answer.h"
#include "game/round/ButtonManager.h"
#include "game/round/EffectManager.h"
#include "game/round/GameLayer.h"
#include "game/round/Planet.h"
#include "game/round/TargetManager.h"
#include "game/round/TargetSprite.h"
#include "game/round/TimeSprite.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace {
const char* const kClickSound = "Music/decision13.mp3";
const char* const kSuccessSound = "Music/shakin1.mp3";
} // namespace

AnswerManager::~AnswerManager() = default;

bool AnswerManager::init() {
    if (!Node::init()) return false;
    auto* audio = SimpleAudioEngine::getInstance();
    audio->preloadEffect(kClickSound);
    audio->preloadEffect(kSuccessSound);
    audio->setEffectsVolume(0.5f);
    createAnswers();
    return true;
}

void AnswerManager::createAnswers() {
    for (int i = 0; i < kPlaces; ++i) {
        answers[i] = Answer::create();
        // Right under the target of the same place.
        answers[i]->setPosition(static_cast<float>(kDesignSize.width * (0.3 + 0.08 * i)),
                                static_cast<float>(kDesignSize.height * 0.1));
        answers[i]->setScale(0.5f);
        addChild(answers[i]);
    }
}

bool AnswerManager::prefixMatches(int n) const {
    auto* layer = hubOf<GameLayer>(this);
    if (!layer || !layer->targetManager) return false;
    for (int k = 0; k < n; ++k)
        if (answers[k]->kind != layer->targetManager->targets[k]->kind) return false;
    return true;
}

void AnswerManager::checkPress() {
    auto* layer = hubOf<GameLayer>(this);
    if (!layer || !layer->buttonManager) return;
    const int n = layer->buttonManager->pressCount;
    if (n < 1 || n > kPlaces) return;

    answers[n - 1]->takeLastKind();
    answers[n - 1]->setVisible(true);
    // Each further place clicks a little higher.
    const float pitch = 1.0f + 0.1f * static_cast<float>(n - 1);
    SimpleAudioEngine::getInstance()->playEffect(kClickSound, false, pitch, 0.0f, 1.0f);

    if (n < kPlaces) {
        // The whole prefix is compared, so one early mistake keeps the companion red.
        if (prefixMatches(n))
            layer->plantBom->tintRight();
        else
            layer->plantBom->tintWrong();
    } else {
        checkComplete();
    }
}

void AnswerManager::checkComplete() {
    if (!prefixMatches(kPlaces)) return;
    auto* layer = hubOf<GameLayer>(this);
    SimpleAudioEngine::getInstance()->playEffect(kSuccessSound, false, 1.0f, 0.0f, 1.0f);
    if (layer->timeSprite) layer->timeSprite->stopCountDown();
    if (layer->effectManager) layer->effectManager->startStageClear();
    layer->hideButtons();
    scheduleEndStage();
}

void AnswerManager::hideLastAnswer() {
    auto* layer = hubOf<GameLayer>(this);
    if (!layer || !layer->buttonManager) return;
    const int n = layer->buttonManager->pressCount;
    if (n >= 1 && n <= kPlaces) answers[n - 1]->setVisible(false);
}

void AnswerManager::scheduleEndStage() {
    scheduleOnce(CC_SCHEDULE_SELECTOR(AnswerManager::endStage), 1.0f);
}

void AnswerManager::endStage(float) {
    auto* layer = hubOf<GameLayer>(this);
    if (!layer) return;
    layer->addScore();
    for (auto* answer : answers)
        answer->setVisible(false);
    layer->player->jump(0);
    layer->planet->startFlyPast();
    // Removes this manager too: nothing may touch it after this line.
    layer->clearStage();
}
