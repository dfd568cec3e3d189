// The playtest program with a real audio device (SDL's, whichever driver SDL_AUDIODRIVER names,
// "dummy" in the tests), so that every sound is decoded as in the game and a damaged sound file
// is met the way a player's machine meets it. Same commands, same answers; the `sounds` query
// stays empty, since the device plays the sounds instead.
#include "Playtest.h"
#include "SimpleAudioEngine.h"

#include <iostream>
#include <string>

int main() {
    std::ios::sync_with_stdio(false);
    Playtest playtest;
    // The harness starts without a device; the game has not started yet, so swapping the audio
    // engine for one with a device changes nothing else.
    CocosDenshion::SimpleAudioEngine::end();
    CocosDenshion::SimpleAudioEngine::setDeviceEnabled(true);
    for (std::string line; std::getline(std::cin, line);) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        if (line == "quit") break;
        try {
            std::cout << playtest.execute(line) << '\n' << std::flush;
        } catch (const Playtest::BadCommand& e) {
            std::cerr << "playtest_audible: " << e.what() << '\n';
            return 2;
        }
    }
    return 0;
}
