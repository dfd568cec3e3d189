#include "harness/soak/SoakPlayer.h"

#include "engine/base/FileUtils.h"
#include "engine/graphics/TextCache.h"
#include "engine/graphics/TextureCache.h"
#include "game/event/EventScene.h"
#include "game/round/ButtonManager.h"
#include "game/round/GameButton.h"
#include "game/round/GameLayer.h"
#include "game/round/GameScene.h"
#include "game/round/TargetManager.h"
#include "game/round/TargetSprite.h"
#include "game/round/TimeSprite.h"
#include "game/shop/UpgradeScene.h"
#include "game/title/TitleScene.h"
#include "harness/playtest/Ring.h"
#include "harness/playtest/Spots.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <fstream>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer's allocator interface (its header is not installed everywhere).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

USING_NS_CC;
using nlohmann::json;

namespace {

constexpr int kFps = 60;
const char* const kFont = "fonts/PixelMplus10-Regular.ttf";

// The shop's six controls.
constexpr Vec2 kShopControls[] = {Spot::kTimeIcon,  Spot::kTimePlate, Spot::kLifeIcon,
                                  Spot::kLifePlate, Spot::kStart,     Spot::kTitle};
const char* const kKeys[] = {"Space", "Return",    "W", "E", "D", "X", "Z",
                             "A",     "Backspace", "R", "S", "T", "L", "Escape"};

// After entering a scene the player waits this long before its first move, as a person would;
// by then every star has begun to twinkle (each waits up to a second), so the live objects of a
// fresh entry are the same every time.
constexpr int kReactionFrames = 75;

// Live heap bytes: what a leak would grow, without the allocator's own caches and quarantine.
std::size_t heapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

Vec2 itemCentre(Node* holder) {
    if (!holder || holder->getChildren().empty()) return Vec2::ZERO;
    Node* menu = holder->getChildren().back();
    if (menu->getChildren().empty()) return Vec2::ZERO;
    Node* item = menu->getChildren().front();
    const Size size = item->getContentSize();
    return item->convertToWorldSpace(Vec2(size.width / 2, size.height / 2));
}

} // namespace

const char* SoakPlayer::name(Scene scene) {
    switch (scene) {
    case Scene::Title:
        return "title";
    case Scene::Shop:
        return "shop";
    case Scene::Event:
        return "event";
    case Scene::Round:
        return "round";
    default:
        return "fade";
    }
}

SoakPlayer::SoakPlayer(Playtest& pt, Options options)
    : _pt(pt), _options(std::move(options)), _rng(_options.seed) {}

SoakPlayer::~SoakPlayer() {
    if (_held) _held->release();
}

void SoakPlayer::command(const std::string& line) {
    _pt.execute(line);
}

SoakPlayer::Scene SoakPlayer::sceneNow() const {
    cocos2d::Scene* running = _pt.runningScene();
    if (dynamic_cast<TitleScene*>(running)) return Scene::Title;
    if (dynamic_cast<UpgradeScene*>(running)) return Scene::Shop;
    if (dynamic_cast<EventScene*>(running)) return Scene::Event;
    if (dynamic_cast<GameScene*>(running)) return Scene::Round;
    return Scene::None;
}

GameLayer* SoakPlayer::roundLayer() const {
    auto* round = dynamic_cast<GameScene*>(_pt.runningScene());
    return round ? round->gameLayer : nullptr;
}

void SoakPlayer::fault(const std::string& what) {
    // The first few of each kind are enough to diagnose; the count tells the rest.
    const std::string kind = what.substr(0, what.find(':'));
    if (++_faultCounts[kind] <= 5) _faults.push_back("frame " + std::to_string(_frame) + ": " + what);
}

void SoakPlayer::run() {
#if !defined(__SANITIZE_ADDRESS__)
    // A fixed threshold: every large block (a picture of text) gets pages of its own and gives
    // them back when freed, so resident memory follows what the program holds rather than the
    // allocator's own adaptive high-water mark.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
    command("seed " + std::to_string(_options.seed));
    _pt.step(0);
    // The caches are filled up front: every picture is loaded, and the text cache is brought to
    // its limit. The first sight of a rare picture (a late obstruction, a sold-out sign) or a
    // new score line is then not growth, and cannot hide a leak or look like one.
    std::ifstream manifest(FileUtils::getInstance()->fullPathForFilename("manifest.txt"));
    for (std::string file; std::getline(manifest, file);)
        if (file.size() > 4 && file.compare(file.size() - 4, 4, ".png") == 0)
            TextureCache::getInstance()->addImage(file);
    TextCache* text = TextCache::getInstance();
    for (int n = 0;; ++n) {
        const std::size_t before = text->size();
        text->render(kFont, 200, "warm-up line " + std::to_string(n));
        if (text->size() <= before || n > 10000) break;
    }
    afterFrame();
    while (_frame < _options.frames)
        act();
    // The last stretch is checked like every other.
    checkpoint();
}

bool SoakPlayer::advance(int frames) {
    for (int i = 0; i < frames; ++i) {
        if (_frame >= _options.frames) return false;
        _pt.step(1);
        ++_frame;
        afterFrame();
        if (_options.progressEvery > 0 && _options.progress && _frame % _options.progressEvery == 0)
            _options.progress(*this);
    }
    return _frame < _options.frames;
}

void SoakPlayer::afterFrame() {
    if (_options.afterEachFrame) _options.afterEachFrame(_frame);
    // Ages of scenes and stages count the frames the game ran, not those it spent minimised.
    if (Director::getInstance()->isAnimating()) ++_animated;
    const Scene scene = sceneNow();
    cocos2d::Scene* running = _pt.runningScene();
    if (scene != Scene::None && running != _held) onEnter(scene, running);
    _scene = scene;
    if (!_counted && scene != Scene::None && _animated - _enteredAt >= kReactionFrames) countObjects();
    ++_framesIn[scene];
    if (scene == Scene::Round) checkRound(roundLayer());
    if (_frame % _options.checkEvery == 0) checkpoint();
}

void SoakPlayer::onEnter(Scene scene, cocos2d::Scene* node) {
    // The scene left behind must be gone with everything in it: only our own hold remains.
    if (_held) {
        if (_held->getReferenceCount() != 1)
            fault("scene outlives its place: a replaced scene is still held " +
                  std::to_string(_held->getReferenceCount() - 1) + " more times");
        _held->release();
    }
    _held = node;
    _held->retain();
    _enteredAt = _animated;
    ++_sceneEntries;
    _counted = false;
    ++_entries[scene];
    _watchCutScene = scene == Scene::Event && chance(0.3);
    if (scene == Scene::Round) {
        _layer = roundLayer();
        ++_roundSerial;
        _lastScore = _layer ? _layer->score : 0;
        _lastStage = 0;
    }
    const json store = _pt.store();
    for (const char* coins : {"coinScore", "scoreMoney", "scores"})
        if (store.value(coins, 0) < 0)
            fault(std::string("negative coins: ") + coins + " " + store[coins].dump());
}

// Objects alive a fixed while after a fresh entry, less the caches that only grow to their
// bounds and the nodes of the scene itself: the same count every time the same scene is
// entered, unless something of an earlier scene is still alive.
void SoakPlayer::countObjects() {
    _counted = true;
    const json stats = _pt.stats();
    // Each menu keeps a touch listener of its own; a round's ring makes a random number of menus.
    // A label keeps its text's picture after the text cache has dropped it: part of the label.
    long long menus = 0, droppedTexts = 0;
    std::function<void(Node*)> walk = [&](Node* node) {
        if (dynamic_cast<Menu*>(node)) ++menus;
        if (auto* label = dynamic_cast<Label*>(node))
            if (label->getTexture() && !TextCache::getInstance()->holds(label->getTexture())) ++droppedTexts;
        for (Node* child : node->getChildren())
            walk(child);
    };
    walk(_pt.runningScene());
    const long long objects = stats["refs"].get<long long>() - stats["textures"].get<long long>() -
                              static_cast<long long>(TextCache::getInstance()->size()) -
                              stats["nodes"].get<long long>() - menus - droppedTexts;
    const std::string key = name(_scene);
    const auto [it, first] = _objectsAtEntry.try_emplace(key, objects);
    ++_objectChecks;
    if (!first && it->second != objects)
        fault("objects on re-entry: " + key + ": " + std::to_string(objects) +
              " live objects, the first time " + std::to_string(it->second));
}

void SoakPlayer::checkRound(GameLayer* layer) {
    if (!layer) return;
    if (layer->score < _lastScore)
        fault("score fell: from " + std::to_string(_lastScore) + " to " + std::to_string(layer->score));
    _lastScore = layer->score;
    _bestScore = std::max(_bestScore, layer->score);
    if (layer->lives < 0) fault("lives below zero: " + std::to_string(layer->lives));

    // A stage is timed from when it is first seen: the first one's ring often settles while the
    // round is still fading in, and a ring that never settles is caught all the same.
    if (layer->stageCount != _lastStage) {
        _lastStage = layer->stageCount;
        _stageStart = _animated;
        _ringSettled = false;
        ++_stages;
    }
    if (_ringSettled || !layer->buttonManager) return;
    const long long age = _animated - _stageStart;
    if (Ring::settled(layer->buttonManager)) {
        _ringSettled = true;
        ++_ringSettleHistogram[static_cast<int>(age)];
    } else if (age == _options.ringSettleFrames + 1) {
        fault("ring not settled: two ring buttons still show the same element " + std::to_string(age) +
              " frames after the stage began");
    }
}

void SoakPlayer::checkpoint() {
    ++_checkpoints;
    // The harness keeps sound calls and log lines until asked; asking keeps its memory flat.
    _soundCalls += static_cast<long long>(_pt.sounds().size());
    _logLines += static_cast<long long>(_pt.logLines().size());
    const json store = _pt.store();
    for (const char* coins : {"coinScore", "scoreMoney", "scores"})
        if (store.value(coins, 0) < 0)
            fault(std::string("negative coins: ") + coins + " " + store[coins].dump());
    for (const auto& [level, flag] : {std::pair{"timeNo", "Button1"}, std::pair{"lifeNo", "Button2"}}) {
        const int n = store.value(level, 0);
        if (n < 0 || n > 3) fault(std::string("level out of range: ") + level + " " + std::to_string(n));
        if ((n == 3) != store.value(flag, false))
            fault(std::string("sold-out flag: ") + flag + " does not match " + level + " " +
                  std::to_string(n));
    }

    const json tree = _pt.tree();
    const json stats = _pt.stats();
    // The tree shows every node the statistics count.
    std::function<long long(const json&)> count = [&](const json& node) -> long long {
        if (node.is_null()) return 0;
        if (node.value("type", "") == "TransitionFade") return 1 + count(node["out"]) + count(node["in"]);
        long long n = 1;
        for (const json& child : node["children"])
            n += count(child);
        return n;
    };
    if (count(tree) != stats["nodes"].get<long long>())
        fault("tree and stats disagree: " + std::to_string(count(tree)) + " nodes shown, " +
              stats["nodes"].dump() + " counted");
    if (GameLayer* layer = roundLayer()) {
        // Ring buttons seen through the tree: once settled, six different pictures on top.
        if (_ringSettled && layer->buttonManager && layer->buttonManager->isVisible()) {
            std::vector<std::string> shown;
            std::function<void(const json&)> walk = [&](const json& node) {
                if (node.value("type", "") == "GameButton" && !node["children"].empty()) {
                    const json& menu = node["children"].back();
                    if (!menu["children"].empty()) shown.push_back(menu["children"][0].value("image", ""));
                    return;
                }
                for (const json& child : node["children"])
                    walk(child);
            };
            walk(tree);
            std::sort(shown.begin(), shown.end());
            if (shown.size() != 6 || std::adjacent_find(shown.begin(), shown.end()) != shown.end())
                fault("ring pictures: the settled ring does not show six different elements");
        }
    }

    _lastStats = stats;
    const long rss = stats["rssKB"].get<long>();
    const std::size_t heap = heapInUse();
    _rssLastKB = rss;
    _heapLast = heap;
    if (_rssFirstKB == 0) _rssFirstKB = rss;
    _rssPeakKB = std::max(_rssPeakKB, rss);
    // The first tenth sets the mark: the most the run needed while every scene came round.
    if (_frame <= _options.frames / 10) {
        _rssTenthPeakKB = std::max(_rssTenthPeakKB, rss);
        _heapTenthPeak = std::max(_heapTenthPeak, heap);
        return;
    }
    _rssPeakAfterTenthKB = std::max(_rssPeakAfterTenthKB, rss);
    _heapPeakAfterTenth = std::max(_heapPeakAfterTenth, heap);
#if defined(__SANITIZE_ADDRESS__)
    // Under the address sanitizer resident memory also holds its quarantine of freed blocks,
    // which fills steadily over the run by design; what the program itself holds is the heap.
    const char* what = "live heap";
    const long now = static_cast<long>(heap / 1024), then = static_cast<long>(_heapTenthPeak / 1024);
#else
    const char* what = "resident memory";
    const long now = rss, then = _rssTenthPeakKB;
#endif
    if (now - then >= _options.memoryGrowthLimitKB)
        fault(std::string("memory growth: ") + what + " " + std::to_string(now) + " kB, " +
              std::to_string(now - then) + " kB above the first tenth's most, " + std::to_string(then) +
              " kB");
}

json SoakPlayer::figures() const {
    json entries = json::object(), frames = json::object(), objects = json::object(), ring = json::object();
    for (const auto& [scene, n] : _entries)
        entries[name(scene)] = n;
    for (const auto& [scene, n] : _framesIn)
        frames[name(scene)] = n;
    for (const auto& [key, n] : _objectsAtEntry)
        objects[key] = n;
    for (const auto& [age, n] : _ringSettleHistogram)
        ring[std::to_string(age)] = n;
    return {{"frames", _frame},
            {"seed", _options.seed},
            {"entries", entries},
            {"framesIn", frames},
            {"rounds", _roundSerial},
            {"stages", _stages},
            {"bestScore", _bestScore},
            {"ringSettleFrames", ring},
            {"objectsAtEntry", objects},
            {"objectChecks", _objectChecks},
            {"checkpoints", _checkpoints},
            {"taps", _taps},
            {"keys", _keys},
            {"minimised", _minimised},
            {"unfocused", _unfocused},
            {"soundCalls", _soundCalls},
            {"logLines", _logLines},
            {"rssFirstKB", _rssFirstKB},
            {"rssFirstTenthPeakKB", _rssTenthPeakKB},
            {"rssPeakKB", _rssPeakKB},
            {"rssPeakAfterTenthKB", _rssPeakAfterTenthKB},
            {"rssLastKB", _rssLastKB},
            {"heapFirstTenthPeakKB", _heapTenthPeak / 1024},
            {"heapPeakAfterTenthKB", _heapPeakAfterTenth / 1024},
            {"heapLastKB", _heapLast / 1024},
            {"stats", _lastStats},
            {"faults", _faults.size()}};
}

// ---- The player ----

void SoakPlayer::act() {
    const long long inScene = _animated - _enteredAt;
    // Nothing reaches a scene while it fades in; after it the player takes a moment to react.
    if (_scene == Scene::None) {
        advance(pick(1, 10));
        return;
    }
    if (inScene < kReactionFrames) {
        advance(static_cast<int>(kReactionFrames - inScene));
        return;
    }
    // Now and then the player steers, so that every scene keeps coming round.
    const bool stuck =
        (_scene == Scene::Title && inScene > 20 * kFps) || (_scene == Scene::Shop && inScene > 40 * kFps) ||
        (_scene == Scene::Event && inScene > 15 * kFps) || (_scene == Scene::Round && inScene > 240 * kFps);
    if (_scene == Scene::Event && _watchCutScene) {
        // Some cut-scenes are watched to the end.
        advance(pick(10, 60));
        return;
    }
    if (stuck || chance(0.04)) {
        steer();
        return;
    }
    const int roll = pick(0, 99);
    if (roll < 38)
        tapAnywhere();
    else if (roll < 55)
        tapControl();
    else if (roll < 64)
        drag();
    else if (roll < 67)
        backStorm();
    else if (roll < 69)
        windowAway();
    else if (roll < 89)
        pressKey();
    else
        advance(pick(30, 240));
    advance(pick(1, 20));
}

void SoakPlayer::tapAnywhere() {
    ++_taps;
    Vec2 at(static_cast<float>(pick(0, 1920)), static_cast<float>(pick(0, 1080)));
    // Never on an OPTIONS button: the panel has tests of its own, and here it would change the
    // language or erase the very progress the soak keeps count of.
    for (const Vec2& button : {Spot::kTitleOptions, Spot::kPauseOptions})
        if (std::abs(at.x - button.x) < 240 && std::abs(at.y - button.y) < 90) at.x = 960;
    _pt.tap(at.x, at.y);
}

void SoakPlayer::tapControl() {
    Vec2 at{960, 540};
    switch (_scene) {
    case Scene::Shop:
        at = kShopControls[pick(0, 5)];
        break;
    case Scene::Round: {
        const int which = pick(0, 8);
        at = which < 6    ? Spot::kRing[which]
             : which == 6 ? Spot::kBack
             : which == 7 ? Spot::kRetry
                          : Spot::kGoShop;
        break;
    }
    default:
        break;
    }
    ++_taps;
    _pt.tap(at.x, at.y);
}

void SoakPlayer::drag() {
    float x = static_cast<float>(pick(0, 1920)), y = static_cast<float>(pick(0, 1080));
    _pt.down(x, y);
    for (int moves = pick(1, 10); moves > 0; --moves) {
        x = std::clamp(x + static_cast<float>(pick(-200, 200)), -50.0f, 1970.0f);
        y = std::clamp(y + static_cast<float>(pick(-200, 200)), -50.0f, 1130.0f);
        _pt.move(x, y);
        if (!advance(pick(0, 3))) break;
    }
    _pt.up(x, y);
    ++_taps;
}

void SoakPlayer::backStorm() {
    for (int n = pick(10, 40); n > 0; --n) {
        if (chance(0.5)) {
            _pt.tap(Spot::kBack.x, Spot::kBack.y);
            ++_taps;
        } else {
            command("key Backspace");
            ++_keys;
        }
        if (chance(0.3) && !advance(1)) return;
    }
}

void SoakPlayer::windowAway() {
    // A desktop takes the window away by minimising it, by giving the focus to another window,
    // or both, and gives it back in either order.
    const bool minimise = chance(0.6);
    const bool unfocus = !minimise || chance(0.5);
    std::vector<const char*> back;
    if (minimise) {
        ++_minimised;
        command("minimize");
        back.push_back("restore");
    }
    if (unfocus) {
        ++_unfocused;
        command("focus out");
        back.push_back("focus in");
    }
    GameLayer* layer = roundLayer();
    TimeSprite* timer = layer ? layer->timeSprite : nullptr;
    const int seconds = timer ? timer->seconds : 0;
    const long long entries = _sceneEntries;
    // Input still arrives while the window is away.
    if (chance(0.3)) tapAnywhere();
    if (chance(0.3)) pressKey();
    advance(pick(1, 180));
    // Still the same scene (so the same round and stage): its clock must not have moved.
    if (timer && entries == _sceneEntries && layer->timeSprite == timer && timer->seconds != seconds)
        fault("timer moved while away: the stage timer went from " + std::to_string(seconds) + " to " +
              std::to_string(timer->seconds) + " while the window was away");
    if (chance(0.5)) std::reverse(back.begin(), back.end());
    for (const char* giveBack : back) {
        command(giveBack);
        if (chance(0.3)) advance(pick(1, 30));
    }
}

void SoakPlayer::pressKey() {
    ++_keys;
    command(std::string("key ") + kKeys[pick(0, static_cast<int>(std::size(kKeys)) - 1)]);
}

void SoakPlayer::steer() {
    switch (_scene) {
    case Scene::Title:
    case Scene::Event:
        ++_taps;
        _pt.tap(960, 540);
        break;
    case Scene::Shop: {
        const Vec2 at = chance(0.8) ? Spot::kStart : Spot::kTitle;
        ++_taps;
        _pt.tap(at.x, at.y);
        break;
    }
    case Scene::Round: {
        GameLayer* layer = roundLayer();
        if (layer && layer->buttonManager && layer->buttonManager->isVisible() && chance(0.7)) {
            playWell(layer);
        } else {
            const Vec2 at = chance(0.5) ? Spot::kRetry : Spot::kGoShop;
            ++_taps;
            _pt.tap(at.x, at.y);
        }
        break;
    }
    default:
        break;
    }
    advance(pick(1, 30));
}

// Clears the entered row and enters the targets in order, as a good player would.
void SoakPlayer::playWell(GameLayer* layer) {
    const long long stage = layer->stageCount;
    for (int n = layer->buttonManager->pressCount; n > 0; --n) {
        _pt.tap(Spot::kBack.x, Spot::kBack.y);
        if (!advance(1)) return;
    }
    for (int place = 0; place < TargetManager::kPlaces; ++place) {
        layer = roundLayer();
        if (!layer || layer->stageCount != stage || !layer->buttonManager || !layer->targetManager) return;
        if (GameButton* button =
                Ring::buttonShowing(layer->buttonManager, layer->targetManager->targets[place]->kind)) {
            const Vec2 at = itemCentre(button);
            ++_taps;
            _pt.tap(at.x, at.y);
        }
        if (!advance(pick(1, 8))) return;
    }
}
