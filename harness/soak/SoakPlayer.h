#pragma once
// A seeded random-input player for long runs of the game on the virtual clock: it taps anywhere,
// drags, storms the back button, takes the window away (minimised, out of focus, or both) and
// gives it back, presses keys, and now and then steers
// (starts a round, skips the cut-scene, plays a stage well, leaves the result panel) so that no
// scene keeps it for the whole run. After every frame and at regular checkpoints it checks what
// must always hold, and it keeps the figures of the run.
#include "harness/playtest/Playtest.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

class GameLayer;

class SoakPlayer {
  public:
    struct Options {
        unsigned seed = 1;
        long long frames = 100000;
        // Frames between the checks made from `tree`, `store` and `stats`.
        int checkEvery = 300;
        // A stage's six ring buttons must differ this many frames after the stage began.
        int ringSettleFrames = 180;
        // Allowed growth of resident memory after the first tenth of the run (of the live heap
        // under the address sanitizer, whose quarantine of freed blocks is resident too).
        long memoryGrowthLimitKB = 2048;
        // Called every `progressEvery` frames (0: never), for the long run's progress lines.
        long long progressEvery = 0;
        std::function<void(const SoakPlayer&)> progress;
        // Called after every frame, before that frame's checks (tests plant faults with it).
        std::function<void(long long frame)> afterEachFrame;
    };

    SoakPlayer(Playtest& pt, Options options);
    ~SoakPlayer();
    SoakPlayer(const SoakPlayer&) = delete;
    SoakPlayer& operator=(const SoakPlayer&) = delete;

    // Plays until the frame count is reached. Faults are collected, not thrown.
    void run();

    // Every broken promise seen, each with its frame; empty for a clean run.
    const std::vector<std::string>& faults() const { return _faults; }
    // Frames played, scenes entered, stages, figures of memory and objects.
    nlohmann::json figures() const;
    long long framesPlayed() const { return _frame; }

    enum class Scene { None, Title, Shop, Event, Round };
    static const char* name(Scene scene);

  private:
    // Stepping, with the per-frame checks after each frame.
    bool advance(int frames);
    void afterFrame();
    void onEnter(Scene scene, cocos2d::Scene* node);
    void countObjects();
    void checkRound(GameLayer* layer);
    void checkpoint();
    void fault(const std::string& what);

    // The player's moves.
    void act();
    void tapAnywhere();
    void tapControl();
    void drag();
    void backStorm();
    void windowAway();
    void pressKey();
    void steer();
    void playWell(GameLayer* layer);

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(_rng); }
    bool chance(double p) { return std::bernoulli_distribution(p)(_rng); }
    Scene sceneNow() const;
    GameLayer* roundLayer() const;
    void command(const std::string& line);

    Playtest& _pt;
    Options _options;
    std::mt19937 _rng;
    long long _frame = 0;
    long long _animated = 0; // frames in which the game ran (not minimised)
    std::vector<std::string> _faults;
    std::map<std::string, int> _faultCounts;

    // Scene tracking.
    Scene _scene = Scene::None;
    cocos2d::Scene* _held = nullptr; // the running scene, kept to see it let go once replaced
    long long _enteredAt = 0;
    bool _counted = false; // live objects of this entry measured
    std::map<Scene, long long> _entries;
    std::map<Scene, long long> _framesIn;
    // Live objects at each fresh entry, by scene and the state it was entered with.
    std::map<std::string, long long> _objectsAtEntry;
    long long _objectChecks = 0;

    // Round tracking.
    GameLayer* _layer = nullptr;
    long long _roundSerial = 0;
    int _lastScore = 0;
    int _lastStage = 0;
    long long _stageStart = -1;
    bool _ringSettled = true;
    long long _stages = 0;
    std::map<int, long long> _ringSettleHistogram;
    int _bestScore = 0;
    bool _watchCutScene = false;

    // Memory.
    long _rssFirstKB = 0;
    long _rssTenthPeakKB = 0;
    long _rssPeakKB = 0;
    long _rssPeakAfterTenthKB = 0;
    long _rssLastKB = 0;
    std::size_t _heapTenthPeak = 0;
    std::size_t _heapPeakAfterTenth = 0;
    std::size_t _heapLast = 0;
    nlohmann::json _lastStats;
    long long _checkpoints = 0;
    long long _logLines = 0;
    long long _soundCalls = 0;
    long long _minimised = 0;
    long long _unfocused = 0;
    long long _sceneEntries = 0;
    long long _keys = 0;
    long long _taps = 0;
};
