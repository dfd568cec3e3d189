// A window into the running game for the browser tests, in the page as Module._dovi_state():
// the running scene, the round's stage, the stage timer's seconds, the coins, the score and the
// notes on screen, as JSON. It reads; it changes nothing.
#include "GameLayer.h"
#include "SavedKeys.h"
#include "TimeSprite.h"
#include "cocos2d.h"

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

} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE const char* dovi_state() {
    static std::string json;
    Scene* scene = Director::getInstance()->getRunningScene();
    GameLayer* round = findRound(scene);
    UserDefault* store = UserDefault::getInstance();
    json = "{\"scene\":" + quoted(scene ? scene->getTypeName() : "");
    json += ",\"frames\":" + std::to_string(Director::getInstance()->getTotalFrames());
    if (round) {
        json += ",\"stage\":" + std::to_string(round->stageCount) +
                ",\"score\":" + std::to_string(round->score) + ",\"lives\":" + std::to_string(round->lives);
        if (round->timeSprite) json += ",\"timer\":" + std::to_string(round->timeSprite->seconds);
    }
    json += ",\"coins\":" + std::to_string(store->getIntegerForKey(keys::kCoinScore));
    json += ",\"notes\":[";
    bool first = true;
    for (const Overlay::Note& note : Overlay::getInstance()->notes()) {
        json += (first ? "" : ",") + quoted(note.text);
        first = false;
    }
    return (json += "]}").c_str();
}
