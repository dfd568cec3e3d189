#include "Playtest.h"
#include "Snapshot.h"

#include "AppDelegate.h"
#include "AutoreleasePool.h"
#include "ButtonManager.h"
#include "EventPump.h"
#include "FileUtils.h"
#include "GLView.h"
#include "GameButton.h"
#include "GameLayer.h"
#include "InstanceLock.h"
#include "Renderer.h"
#include "SimpleAudioEngine.h"
#include "SoundSettings.h"
#include "Spots.h"
#include "TargetManager.h"
#include "TargetSprite.h"
#include "TextCache.h"
#include "Texture2D.h"
#include "TextureCache.h"
#include "TimeSprite.h"
#include "TitleScene.h"
#include "VirtualInput.h"

#include "EventScene.h"
#include "GameScene.h"
#include "UpgradeScene.h"

#include <SDL.h>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

USING_NS_CC;
using nlohmann::json;

namespace {

// Exactly 1/60 s: the virtual clock of every test.
constexpr double kFrameTime = 1.0 / 60.0;
constexpr float kDesignHeight = 1080;

std::vector<std::string> split(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

long long toInt(const std::string& word, const std::string& line) {
    long long value = 0;
    auto [end, err] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (err != std::errc() || end != word.data() + word.size())
        throw Playtest::BadCommand("not a whole number in: " + line);
    return value;
}

float toFloat(const std::string& word, const std::string& line) {
    try {
        std::size_t used = 0;
        float value = std::stof(word, &used);
        if (used == word.size()) return value;
    } catch (const std::exception&) {
    }
    throw Playtest::BadCommand("not a number in: " + line);
}

// Everything from the second word on: names that may hold spaces ("Keypad 7").
std::string argument(const std::string& line, const std::vector<std::string>& words) {
    if (words.size() < 2) throw Playtest::BadCommand(words[0] + " needs an argument: " + line);
    std::string rest = line.substr(line.find(words[1], words[0].size()));
    rest.erase(rest.find_last_not_of(" \t\r") + 1);
    return rest;
}

void expectWords(const std::vector<std::string>& words, std::size_t count, const std::string& line) {
    if (words.size() != count) throw Playtest::BadCommand("wrong number of arguments: " + line);
}

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
        if (!map->isPointerInUse() && map->highlighted() == item) j["highlighted"] = true;
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

} // namespace

Playtest::Playtest() : _lock(std::make_unique<InstanceLock>(UserDefault::storeFolder())) {
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
}

void Playtest::launch() const {
    // The game starts on the first command that is not a seed, so that a seed sent first
    // covers the first scene too.
    if (_launched) return;
    _launched = true;
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
        Director::getInstance()->mainLoop(kFrameTime);
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

void Playtest::open(const std::vector<std::string>& words) {
    const std::string line = words.empty() ? "" : words[0];
    if (words.size() < 2) throw BadCommand("open what?");
    const std::string& what = words[1];
    Scene* scene = nullptr;
    std::vector<int> args;
    for (std::size_t i = 2; i < words.size(); ++i)
        args.push_back(static_cast<int>(toInt(words[i], "open")));
    auto need = [&](std::size_t n) {
        if (args.size() != n) throw BadCommand("open " + what + " takes " + std::to_string(n) + " numbers");
    };
    if (what == "title") {
        need(0);
        scene = TitleScene::create();
    } else if (what == "shop") {
        need(1);
        scene = UpgradeScene::create(args[0]);
    } else if (what == "event") {
        need(3);
        scene = EventScene::create(args[0], args[1], args[2]);
    } else if (what == "game") {
        need(3);
        scene = GameScene::create(args[0], args[1], args[2]);
    } else {
        throw BadCommand("unknown scene: " + what);
    }
    launch();
    Director::getInstance()->replaceScene(scene);
    Director::getInstance()->applyPendingScene();
}

std::string Playtest::solve() {
    GameLayer* layer = find<GameLayer>();
    if (!layer || !layer->targetManager || !layer->buttonManager) return "error: no stage to solve";
    for (TargetSprite* target : layer->targetManager->targets) {
        const auto& ring = layer->buttonManager->buttons;
        const auto match = std::find_if(std::begin(ring), std::end(ring),
                                        [&](const GameButton* b) { return b->kind + 1 == target->kind; });
        if (match == std::end(ring))
            return "error: the ring does not show element " + std::to_string(target->kind);
        const Vec2 at = Spot::kRing[match - std::begin(ring)];
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

std::string Playtest::execute(const std::string& line) {
    const auto words = split(line);
    if (words.empty()) throw BadCommand("empty command");
    const std::string& cmd = words[0];
    if (cmd[0] == '#') return "ok"; // a comment in a script
    if (cmd != "seed") launch();
    try {
        if (cmd == "seed") {
            expectWords(words, 2, line);
            Random::seed(static_cast<unsigned>(toInt(words[1], line)));
            return "ok";
        }
        if (cmd == "step") {
            expectWords(words, 2, line);
            const long long n = toInt(words[1], line);
            if (n < 0) throw BadCommand("negative step: " + line);
            step(static_cast<int>(n));
            return "ok";
        }
        if (cmd == "open") {
            open(words);
            return "ok";
        }
        if (cmd == "tap" || cmd == "down" || cmd == "move" || cmd == "up") {
            expectWords(words, 3, line);
            const float x = toFloat(words[1], line), y = toFloat(words[2], line);
            if (cmd == "tap")
                tap(x, y);
            else if (cmd == "down")
                down(x, y);
            else if (cmd == "move")
                move(x, y);
            else
                up(x, y);
            return "ok";
        }
        if (cmd == "key") return keyCommand(words, line);
        if (cmd == "layout") {
            expectWords(words, 2, line);
            return pumped(_input->layout(words[1]));
        }
        if (cmd == "rumbles") return json(_input->rumbles()).dump();
        if (cmd == "mouse") {
            expectWords(words, 3, line);
            _input->mouseMove(static_cast<int>(toInt(words[1], line)),
                              static_cast<int>(kDesignHeight - toInt(words[2], line)));
            return pumped("");
        }
        if (cmd == "badges") {
            json out = json::array();
            for (const auto& b : InputMap::getInstance()->badges())
                out.push_back({{"control", b.control},
                               {"picture", b.picture},
                               {"text", b.text},
                               {"x", b.where.x},
                               {"y", b.where.y}});
            return out.dump();
        }
        if (cmd == "cursor") return _pump->isCursorShown() ? "shown" : "hidden";
        if (cmd == "pad") return padCommand(words, line);
        if (cmd == "finger") return fingerCommand(words, line);
        if (cmd == "minimize" || cmd == "restore") {
            expectWords(words, 1, line);
            _input->window(cmd == "minimize" ? SDL_WINDOWEVENT_MINIMIZED : SDL_WINDOWEVENT_RESTORED);
            return pumped("");
        }
        if (cmd == "focus") {
            expectWords(words, 2, line);
            if (words[1] != "in" && words[1] != "out") throw BadCommand("focus goes in or out: " + line);
            _input->focus(words[1] == "in");
            return pumped("");
        }
        if (cmd == "notes") return notes().dump();
        if (cmd == "tree") return tree().dump();
        if (cmd == "view") return Snapshot::scene(tree()).dump();
        if (cmd == "snap") return Snapshot::moment(argument(line, words), frame(), sounds(), tree()).dump();
        if (cmd == "solve") return solve();
        if (cmd == "wait") return waitFor(argument(line, words));
        if (cmd == "look") {
            expectWords(words, 3, line);
            return json(picturesAt(toFloat(words[1], line), toFloat(words[2], line))).dump();
        }
        if (cmd == "store") return store().dump();
        if (cmd == "sounds") return sounds().dump();
        if (cmd == "log") return logLines().dump();
        if (cmd == "stats") return stats().dump();
        if (cmd == "shot") {
            expectWords(words, 2, line);
            Director::getInstance()->drawScene();
            if (!Director::getInstance()->getOpenGLView()->saveScreenshot(words[1]))
                return "error: cannot write " + words[1];
            return "ok";
        }
    } catch (const std::logic_error& e) {
        return e.what();
    }
    throw BadCommand("unknown command: " + line);
}

std::string Playtest::pumped(const std::string& error) {
    if (!error.empty()) throw BadCommand(error);
    _pump->pump();
    return "ok";
}

std::string Playtest::keyCommand(const std::vector<std::string>& words, const std::string& line) {
    // `key NAME [down|up]`: names may hold spaces ("Keypad 7"), and "Alt+" holds Alt with the key.
    if (words.size() < 2) throw BadCommand("key needs a name: " + line);
    std::string name = line.substr(line.find(words[1]));
    name.erase(name.find_last_not_of(" \t\r") + 1);
    std::string how = "press";
    for (const char* end : {" down", " up", " repeat"})
        if (name.size() > std::strlen(end) && name.ends_with(end)) {
            how = end + 1;
            name.erase(name.size() - std::strlen(end));
        }
    const bool alt = name.rfind("Alt+", 0) == 0;
    if (alt) name.erase(0, 4);
    if (how == "repeat") return pumped(_input->key(name, alt, true, true));
    if (how != "up") pumped(_input->key(name, alt, true));
    if (how != "down") pumped(_input->key(name, alt, false));
    return "ok";
}

std::string Playtest::padCommand(const std::vector<std::string>& words, const std::string& line) {
    // pad attach N [FAMILY] | pad detach N | pad button N NAME down|up | pad axis N NAME VALUE
    if (words.size() < 3) throw BadCommand("pad needs what and a number: " + line);
    const std::string& what = words[1];
    const int pad = static_cast<int>(toInt(words[2], line));
    if (what == "attach" && words.size() == 4) return pumped(_input->padAttach(pad, words[3]));
    if (what == "attach" || what == "detach") {
        expectWords(words, 3, line);
        return pumped(what == "attach" ? _input->padAttach(pad) : _input->padDetach(pad));
    }
    if (what == "button") {
        expectWords(words, 5, line);
        if (words[4] != "down" && words[4] != "up") throw BadCommand("a button goes down or up: " + line);
        return pumped(_input->padButton(pad, words[3], words[4] == "down"));
    }
    if (what == "axis") {
        expectWords(words, 5, line);
        return pumped(_input->padAxis(pad, words[3], toFloat(words[4], line)));
    }
    throw BadCommand("unknown pad command: " + line);
}

std::string Playtest::fingerCommand(const std::vector<std::string>& words, const std::string& line) {
    // finger ID down|move|up X Y, in design units like `down`.
    expectWords(words, 5, line);
    const Size design = Director::getInstance()->getWinSize();
    return pumped(_input->finger(toInt(words[1], line), words[2], toFloat(words[3], line),
                                 toFloat(words[4], line), design.width, design.height));
}
