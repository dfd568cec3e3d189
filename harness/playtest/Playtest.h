#pragma once
// The game run headless on a virtual clock (every frame exactly 1/60 s), driven by text
// commands. Used by the playtest program and, in-process, by the tests.
#include "engine/app/cocos2d.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

class AppDelegate;
class VirtualInput;
namespace cocos2d {
class EventPump;
class InstanceLock;
} // namespace cocos2d

class Playtest {
  public:
    // Starts the game as the program does (the first scene included, on the first command
    // that is not a seed), with an off-screen view and no audio device. Like the game, it
    // takes the lock of its save folder first: throws AlreadyRunning while another copy of
    // the game or of the harness runs on the same folder.
    Playtest();
    // Saves the store and shuts the engine down.
    ~Playtest();
    Playtest(const Playtest&) = delete;
    Playtest& operator=(const Playtest&) = delete;

    // Runs one command and returns its one-line answer. Throws BadCommand for an unknown or
    // malformed command.
    std::string execute(const std::string& line);
    // Every command and what it takes, one entry each: the answer to `help`.
    static std::string help();
    struct BadCommand : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    struct AlreadyRunning : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    void step(int frames = 1);
    void tap(float x, float y);
    void down(float x, float y);
    void move(float x, float y);
    void up(float x, float y);
    nlohmann::json tree() const;
    // The pictures drawn over a point of the screen if the frame were drawn now, bottom first:
    // the last one is what the player sees there.
    std::vector<std::string> picturesAt(float x, float y) const;
    nlohmann::json store() const;
    nlohmann::json sounds();
    // The notes shown over the game now ("Sound off", "Paused", the saving notice), with the
    // seconds each has left.
    nlohmann::json notes() const;
    nlohmann::json logLines();
    nlohmann::json stats() const;
    unsigned long long frame() const;
    // Whether the game has asked to end, as closing its window would.
    bool quitRequested() const;

    cocos2d::Scene* runningScene() const;
    // The first node of type T in the running scene (depth first, in drawing order); null if none.
    template <typename T> T* find() const { return findIn<T>(runningScene()); }
    template <typename T> std::vector<T*> findAll() const {
        std::vector<T*> out;
        collect<T>(runningScene(), out);
        return out;
    }

  private:
    template <typename T> static T* findIn(cocos2d::Node* node) {
        if (!node) return nullptr;
        if (auto* hit = dynamic_cast<T*>(node)) return hit;
        // During a fade both scenes run: the new one first, then the old.
        if (auto* fade = dynamic_cast<cocos2d::TransitionFade*>(node)) {
            if (auto* hit = findIn<T>(fade->getInScene())) return hit;
            return findIn<T>(fade->getOutScene());
        }
        for (auto* child : node->getChildren())
            if (auto* hit = findIn<T>(child)) return hit;
        return nullptr;
    }
    template <typename T> static void collect(cocos2d::Node* node, std::vector<T*>& out) {
        if (!node) return;
        if (auto* hit = dynamic_cast<T*>(node)) out.push_back(hit);
        if (auto* fade = dynamic_cast<cocos2d::TransitionFade*>(node)) {
            collect<T>(fade->getInScene(), out);
            collect<T>(fade->getOutScene(), out);
        }
        for (auto* child : node->getChildren())
            collect<T>(child, out);
    }
    // The text protocol's table, in PlaytestCommands.cpp.
    struct Command;
    static const std::vector<Command>& commands();
    static std::string pointer(Playtest& pt, const std::vector<std::string>& words, const std::string& line,
                               void (Playtest::*act)(float, float));
    void open(const std::vector<std::string>& words);
    // Presses the stage's six targets in order, each where the ring shows its element.
    std::string solve();
    // Steps until the running scene (a fade over) is of a class, "stage N" has begun, the
    // stage's "timer stopped", or the round is lost ("game over"); two minutes at most.
    std::string waitFor(const std::string& what);
    // Commands that act through SDL's events, handled by the game's own event pump.
    std::string keyCommand(const std::vector<std::string>& words, const std::string& line);
    std::string padCommand(const std::vector<std::string>& words, const std::string& line);
    // The controls page and the player's bindings, in PlaytestControls.cpp.
    std::string controlsCommand(const std::vector<std::string>& words, const std::string& line);
    std::string fingerCommand(const std::vector<std::string>& words, const std::string& line);
    // The options panel of the running scene, through its own operations (PlaytestOptions.cpp).
    std::string optionsCommand(const std::vector<std::string>& words, const std::string& line);
    std::string pumped(const std::string& error);
    void launch() const;

    // First in, last out: held until everything else has shut down.
    std::unique_ptr<cocos2d::InstanceLock> _lock;
    std::unique_ptr<AppDelegate> _app;
    std::unique_ptr<cocos2d::EventPump> _pump;
    std::unique_ptr<VirtualInput> _input;
    mutable bool _launched = false;
    nlohmann::json _sounds = nlohmann::json::array();
    nlohmann::json _log = nlohmann::json::array();
};
