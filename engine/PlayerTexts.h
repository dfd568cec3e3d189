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
    // For a moment after the player changes the sound.
    std::string soundOff;
    std::function<std::string(int percent)> volume;
    // A second copy's message box before it closes.
    std::string alreadyRunning;

    static void set(PlayerTexts texts);
    static const PlayerTexts& get();
};

} // namespace cocos2d
