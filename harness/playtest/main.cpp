// The playtest program: the game headless on a virtual clock, one command per line on
// standard input, one answer per line on standard output (`help` lists the commands).
//
// --audible gives it a real audio device (SDL's, whichever driver SDL_AUDIODRIVER names,
// "dummy" in the tests), so that every sound is decoded as in the game and a damaged sound
// file is met the way a player's machine meets it. Same commands, same answers; the `sounds`
// query stays empty, since the device plays the sounds instead.
#include "engine/audio/SimpleAudioEngine.h"
#include "harness/playtest/Playtest.h"

#include <cstring>
#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    bool audible = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--audible") != 0) {
            std::cerr << "playtest: unknown option " << argv[i] << " (only --audible)\n";
            return 2;
        }
        audible = true;
    }
    std::unique_ptr<Playtest> started;
    try {
        started = std::make_unique<Playtest>();
    } catch (const Playtest::AlreadyRunning& e) {
        // Not an error: the other copy goes on, and this one leaves the save alone.
        std::cerr << "playtest: " << e.what() << '\n';
        return 0;
    }
    if (audible) {
        // The harness starts without a device; the game has not started yet, so swapping the
        // audio engine for one with a device changes nothing else.
        CocosDenshion::SimpleAudioEngine::end();
        CocosDenshion::SimpleAudioEngine::setDeviceEnabled(true);
    }
    Playtest& playtest = *started;
    for (std::string line; std::getline(std::cin, line);) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        if (line == "quit") break;
        try {
            std::cout << playtest.execute(line) << '\n' << std::flush;
            // The game ended itself (its QUIT), as the real window would close.
            if (playtest.quitRequested()) break;
        } catch (const Playtest::BadCommand& e) {
            std::cerr << "playtest: " << e.what() << '\n';
            return 2;
        }
    }
    return 0;
}
