#include "harness/playtest/Playtest.h"
#include "engine/app/AppFrame.h"
#include "harness/playtest/Snapshot.h"

#include "engine/app/EventPump.h"
#include "engine/app/SoundSettings.h"
#include "engine/audio/SimpleAudioEngine.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/FileUtils.h"
#include "engine/graphics/Renderer.h"
#include "engine/graphics/TextCache.h"
#include "engine/graphics/Texture2D.h"
#include "engine/graphics/TextureCache.h"
#include "engine/platform/InstanceLock.h"
#include "engine/window/GLView.h"
#include "game/app/AppDelegate.h"
#include "game/app/GameIdentity.h"
#include "game/round/ButtonManager.h"
#include "game/round/GameButton.h"
#include "game/round/GameLayer.h"
#include "game/round/TargetManager.h"
#include "game/round/TargetSprite.h"
#include "game/round/TimeSprite.h"
#include "harness/playtest/Ring.h"
#include "harness/playtest/Spots.h"
#include "harness/playtest/VirtualInput.h"

#include <SDL.h>
#include <algorithm>
#include <fstream>
#include <unistd.h>

USING_NS_CC;
using nlohmann::json;

namespace {

// Exactly 1/60 s: the virtual clock of every test.
constexpr double kFrameTime = 1.0 / 60.0;
constexpr float kDesignHeight = 1080;

json nodeJson(Node* node) {
    if (auto* transition = dynamic_cast<TransitionFade*>(node))
        return {{"type", "TransitionFade"},
                {"out", transition->getOutScene() ? nodeJson(transition->getOutScene()) : json(nullptr)},
                {"in", transition->getInScene() ? nodeJson(transition->getInScene()) : json(nullptr)}};
    const Vec2 anchor(node->getAnchorPoint().x * node->getContentSize().width,
                      node->getAnchorPoint().y * node->getContentSize().height);
    const Vec2 world = node->convertToWorldSpace(anchor);
    json j = {{"type", node->getTypeName()},
              {"z", node->getLocalZOrder()},
              {"x", node->getPositionX()},
              {"y", node->getPositionY()},
              {"wx", world.x},
              {"wy", world.y},
              {"w", node->getContentSize().width},
              {"h", node->getContentSize().height},
              {"sx", node->getScaleX()},
              {"sy", node->getScaleY()},
              {"rot", node->getRotation()},
              {"visible", node->isVisible()},
              {"shown", node->isShown()},
              {"opacity", node->getOpacity()},
              {"color", {node->getColor().r, node->getColor().g, node->getColor().b}},
              {"actions", node->getNumberOfRunningActions()}};
    if (auto* item = dynamic_cast<MenuItemImage*>(node)) {
        j["image"] = item->getNormalFile();
        j["pressed"] = item->getSelectedFile();
        j["selected"] = item->isSelected();
        // The menu's highlight, while keys or a pad are in use.
        const InputMap* map = InputMap::getInstance();
        if (map->isHighlightShown() && map->highlighted() == item) j["highlighted"] = true;
    } else if (auto* sprite = dynamic_cast<Sprite*>(node)) {
        j["image"] = sprite->getFileName();
    }
    if (auto* label = dynamic_cast<Label*>(node)) j["text"] = label->getString();
    json children = json::array();
    for (Node* child : node->getChildren())
        children.push_back(nodeJson(child));
    j["children"] = std::move(children);
    return j;
}

std::size_t countNodes(const Node* node) {
    if (!node) return 0;
    if (auto* t = dynamic_cast<const TransitionFade*>(node))
        return 1 + countNodes(t->getOutScene()) + countNodes(t->getInScene());
    std::size_t n = 1;
    for (const Node* child : node->getChildren())
        n += countNodes(child);
    return n;
}

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

// The lock the game takes on its own save folder and file. The game's name comes first: it
// names both, and arguments have no order of their own.
std::unique_ptr<InstanceLock> gameLock() {
    GameIdentity::install();
    return std::make_unique<InstanceLock>(UserDefault::storeFolder(), UserDefault::storePath());
}

} // namespace

Playtest::Playtest() : _lock(gameLock()) {
    if (!_lock->held())
        throw AlreadyRunning("already running with its progress in " + UserDefault::storeFolder() +
                             ": this copy closes without touching it");
    // Headless: no window and no audio device; every sound call is still reported.
    CocosDenshion::SimpleAudioEngine::setDeviceEnabled(false);
    auto* audio = CocosDenshion::SimpleAudioEngine::getInstance();
    audio->setObserver([this, audio](const CocosDenshion::AudioCall& c) {
        json entry = {{"call", c.call}};
        if (!c.file.empty()) entry["file"] = c.file;
        // What a player hears: the volume a sound starts at, which the engine takes from the
        // volume set last (times the effect's own gain).
        if (c.call == "playEffect") {
            entry["pitch"] = c.pitch;
            entry["loop"] = c.loop;
            entry["volume"] = audio->getEffectsVolume() * std::clamp(c.gain, 0.0f, 1.0f);
        }
        if (c.call == "playBackgroundMusic") {
            entry["loop"] = c.loop;
            entry["volume"] = audio->getBackgroundMusicVolume();
        }
        if (c.call == "setBackgroundMusicVolume" || c.call == "setEffectsVolume") entry["volume"] = c.volume;
        // What the device gets once the player's own setting is applied.
        if (c.call == "playEffect" || c.call == "playBackgroundMusic" ||
            c.call == "setBackgroundMusicVolume" || c.call == "setEffectsVolume")
            entry["device"] = c.device;
        if (c.call == "setMasterVolume") {
            entry["volume"] = c.volume;
            entry["effectsVolume"] = c.effectsVolume;
            entry["muted"] = c.muted;
            entry["music"] = audio->deviceMusicVolume();
            entry["effects"] = audio->deviceEffectsVolume();
        }
        _sounds.push_back(std::move(entry));
    });
    setLogObserver([this](const std::string& line) { _log.push_back(line); });
    // The player's sound setting, as the program starts with it.
    SoundSettings::install();
    auto* view = GLViewImpl::createOffscreen();
    Director::getInstance()->setOpenGLView(view);
    _app = std::make_unique<AppDelegate>();
    _app->initGLContextAttrs();
    _pump = std::make_unique<EventPump>(Application::getInstance());
    _input = std::make_unique<VirtualInput>();
    _pump->setPointerOnScreen([input = _input.get()](cocos2d::CursorWatch::Place& p) {
        return input->pointerOnScreen(p.x, p.y, p.windowX, p.windowY);
    });
}

void Playtest::launch() const {
    // The game starts on the first command that is not a seed, so that a seed sent first
    // covers the first scene too.
    if (_launched) return;
    _launched = true;
    // The harness plays as on a system that asks for no language: English, unless the save or
    // DOVIVEDUZUZ_LANGUAGE says otherwise, whatever the machine running the tests is set to.
    for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
        unsetenv(variable);
    _app->applicationDidFinishLaunching();
}

Playtest::~Playtest() {
    // Pads are unplugged and let go of while SDL still runs.
    _input.reset();
    _pump.reset();
    Application::shutdown();
    setLogObserver(nullptr);
    _app.reset();
}

void Playtest::step(int frames) {
    launch();
    for (int i = 0; i < frames; ++i) {
        _pump->pump();
        _pump->tick();
        AppFrame::step(kFrameTime);
        // Pictures decode on worker threads in real time; on the virtual clock they are done
        // by the end of the frame that asked for them.
        TextureCache::getInstance()->finishDecoding();
    }
}

void Playtest::down(float x, float y) {
    launch();
    Director::getInstance()->touchBegan(0, Vec2(x, y));
}
void Playtest::move(float x, float y) {
    Director::getInstance()->touchMoved(0, Vec2(x, y));
}
void Playtest::up(float x, float y) {
    Director::getInstance()->touchEnded(0, Vec2(x, y));
}

void Playtest::tap(float x, float y) {
    down(x, y);
    up(x, y);
}

Scene* Playtest::runningScene() const {
    launch();
    return Director::getInstance()->getRunningScene();
}

bool Playtest::quitRequested() const {
    return _pump->quitRequested();
}

unsigned long long Playtest::frame() const {
    return Director::getInstance()->getTotalFrames();
}

json Playtest::tree() const {
    Scene* scene = runningScene();
    return scene ? nodeJson(scene) : json(nullptr);
}

std::vector<std::string> Playtest::picturesAt(float x, float y) const {
    launch();
    std::vector<CapturedQuad> quads;
    // Only the point itself is painted: every picture is still handed to the renderer.
    SDL_Renderer* sdl = Director::getInstance()->getOpenGLView()->getRenderer();
    const SDL_Rect spot{static_cast<int>(x), static_cast<int>(kDesignHeight - y), 1, 1};
    SDL_RenderSetClipRect(sdl, &spot);
    Renderer::setCapture(&quads);
    Director::getInstance()->drawScene();
    Renderer::setCapture(nullptr);
    SDL_RenderSetClipRect(sdl, nullptr);
    std::vector<std::string> names;
    for (const auto& q : quads) {
        if (!q.texture) continue; // a coloured fill, not a picture
        const auto [left, right] =
            std::minmax({q.corners[0].x, q.corners[1].x, q.corners[2].x, q.corners[3].x});
        const auto [bottom, top] =
            std::minmax({q.corners[0].y, q.corners[1].y, q.corners[2].y, q.corners[3].y});
        if (x >= left && x <= right && y >= bottom && y <= top) names.push_back(q.texture->getName());
    }
    return names;
}

json Playtest::store() const {
    launch();
    json j = json::object();
    for (const auto& [key, value] : UserDefault::getInstance()->entries()) {
        if (std::holds_alternative<bool>(value))
            j[key] = std::get<bool>(value);
        else
            j[key] = std::get<int>(value);
    }
    return j;
}

json Playtest::sounds() {
    json out = std::move(_sounds);
    _sounds = json::array();
    return out;
}

json Playtest::notes() const {
    json out = json::array();
    for (const auto& note : Overlay::getInstance()->notes())
        out.push_back({{"key", note.key}, {"text", note.text}, {"secondsLeft", note.secondsLeft}});
    return out;
}

json Playtest::logLines() {
    json out = std::move(_log);
    _log = json::array();
    return out;
}

json Playtest::stats() const {
    return {{"frame", frame()},
            {"refs", Ref::liveCount()},
            {"nodes", countNodes(runningScene())},
            {"textures", TextureCache::getInstance()->textureCount()},
            {"fileReads", FileUtils::getInstance()->fileReads()},
            {"textRenders", TextCache::getInstance()->renders()},
            {"rssKB", residentKilobytes()}};
}

std::string Playtest::solve() {
    GameLayer* layer = find<GameLayer>();
    if (!layer || !layer->targetManager || !layer->buttonManager) return "error: no stage to solve";
    for (TargetSprite* target : layer->targetManager->targets) {
        const int place = Ring::placeShowing(layer->buttonManager, target->kind);
        if (place < 0) return "error: the ring does not show element " + std::to_string(target->kind);
        const Vec2 at = Spot::kRing[place];
        tap(at.x, at.y);
    }
    return "ok";
}

std::string Playtest::waitFor(const std::string& what) {
    const auto done = [&] {
        auto* layer = find<GameLayer>();
        if (what.rfind("stage ", 0) == 0) return layer && std::to_string(layer->stageCount) == what.substr(6);
        // The answer plate stays for the whole round and goes only when it is lost.
        if (what == "game over") return layer && !layer->answerPlate;
        if (what == "timer stopped") return layer && layer->timeSprite && !layer->timeSprite->isArmed;
        return runningScene()->getTypeName() == what;
    };
    for (int n = 0; n < 120 * 60 && !done(); ++n)
        step(1);
    return done() ? "ok" : "error: still waiting for " + what;
}
