// A window into the running game for the browser tests, in the page as Module._dovi_state():
// the running scene, the music playing, the round's stage, the stage timer's seconds, what the
// ring and the target row show and how many entries were made, the saved progress and the
// notes on screen, as JSON. It reads; it changes nothing, except Module._dovi_seed(N), which
// fixes the random draws the way the desktop harness's `seed N` does, so that both can be
// asked for the same picture.
#include "engine/app/cocos2d.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/Random.h"
#include "game/common/SavedKeys.h"
#include "game/round/ButtonManager.h"
#include "game/round/GameButton.h"
#include "game/round/GameLayer.h"
#include "game/round/TargetManager.h"
#include "game/round/TargetSprite.h"
#include "game/round/TimeSprite.h"

#include <cstdio>
#include <emscripten.h>
#include <string>

USING_NS_CC;

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

GameLayer* findRound(Node* node) {
    if (!node) return nullptr;
    if (auto* layer = dynamic_cast<GameLayer*>(node)) return layer;
    for (Node* child : node->getChildren())
        if (GameLayer* found = findRound(child)) return found;
    return nullptr;
}

// The words the player sees now: every label shown, its parents shown too.
void shownWords(const Node* node, std::string& json, bool& first) {
    if (!node || !node->isVisible()) return;
    if (const auto* label = dynamic_cast<const Label*>(node); label && !label->getString().empty()) {
        json += (first ? "" : ",") + quoted(label->getString());
        first = false;
    }
    for (const Node* child : node->getChildren())
        shownWords(child, json, first);
}

} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE const char* dovi_state() {
    static std::string json;
    Scene* scene = Director::getInstance()->getRunningScene();
    GameLayer* round = findRound(scene);
    UserDefault* store = UserDefault::getInstance();
    json = "{\"scene\":" + quoted(scene ? scene->getTypeName() : "");
    json += ",\"frames\":" + std::to_string(Director::getInstance()->getTotalFrames());
    const auto* audio = CocosDenshion::SimpleAudioEngine::getInstance();
    json += ",\"music\":" + quoted(audio->isBackgroundMusicPlaying() ? audio->musicFile() : "");
    if (round) {
        json += ",\"stage\":" + std::to_string(round->stageCount) +
                ",\"score\":" + std::to_string(round->score) + ",\"lives\":" + std::to_string(round->lives);
        // The answer plate stays for the whole round and goes only when it is lost.
        json += std::string(",\"over\":") + (round->answerPlate ? "false" : "true");
        if (round->timeSprite) json += ",\"timer\":" + std::to_string(round->timeSprite->seconds);
        // Element ids (1..6) as the player sees them; a stage being set up shows none.
        if (round->buttonManager && round->targetManager) {
            json += ",\"entered\":" + std::to_string(round->buttonManager->pressCount) + ",\"ring\":[";
            for (int i = 0; i < ButtonManager::kButtons; ++i)
                json += (i ? "," : "") + std::to_string(round->buttonManager->buttons[i]->kind + 1);
            json += "],\"targets\":[";
            for (int i = 0; i < TargetManager::kPlaces; ++i)
                json += (i ? "," : "") + std::to_string(round->targetManager->targets[i]->kind);
            json += "]";
        }
    }
    json += ",\"coins\":" + std::to_string(store->getIntegerForKey(keys::kCoinScore));
    json += ",\"timeLevel\":" + std::to_string(store->getIntegerForKey(keys::kTimeLevel));
    json += ",\"lifeLevel\":" + std::to_string(store->getIntegerForKey(keys::kLifeLevel));
    json += ",\"best\":" + std::to_string(store->getIntegerForKey(keys::kHighScore));
    // The keys' and pad buttons' badges shown now, by control, with a key's label.
    json += ",\"badges\":{";
    bool firstBadge = true;
    for (const Badge& badge : InputMap::getInstance()->badges()) {
        json += (firstBadge ? "" : ",") + quoted(badge.control) + ":" + quoted(badge.text);
        firstBadge = false;
    }
    json += "}";
    json += ",\"words\":[";
    bool firstWord = true;
    shownWords(scene, json, firstWord);
    json += "]";
    json += ",\"notes\":[";
    bool first = true;
    for (const Overlay::Note& note : Overlay::getInstance()->notes()) {
        json += (first ? "" : ",") + quoted(note.text);
        first = false;
    }
    return (json += "]}").c_str();
}

extern "C" EMSCRIPTEN_KEEPALIVE void dovi_seed(unsigned int value) {
    Random::seed(value);
}
