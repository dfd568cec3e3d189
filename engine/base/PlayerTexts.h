#pragma once
// The few words the engine itself puts before the player, in the game's own wording.
#include <functional>
#include <string>

namespace cocos2d {

struct PlayerTexts {
    // Over the game while it waits for the window to come back.
    std::string paused;
    // In a corner while progress cannot be written, or an old save not yet read.
    std::string notSaved;
    std::string saveNotRead;
    // At the next scene, once, after a save file the game could not use was kept aside.
    std::string keptAside;
    // For a moment after the player changes the sound.
    std::string soundOff;
    std::function<std::string(int percent)> volume;
    // The same once the music and the effects are set apart; `volume` of the louder without it.
    std::function<std::string(int music, int effects)> volumes;
    // For a moment after a pad without a known button layout is plugged in.
    std::string padNotSupported;
    // A second copy's message box before it closes.
    std::string alreadyRunning;
    // A key cap's name ("Space", "Enter") in the player's words; as it is when not set.
    std::function<std::string(const std::string& cap)> keyCap;

    static void set(PlayerTexts texts);
    static const PlayerTexts& get();
};

} // namespace cocos2d
