// The playtest program: the game headless on a virtual clock, one command per line on
// standard input, one answer per line on standard output.
#include "Playtest.h"

#include <iostream>
#include <memory>

int main() {
    std::ios::sync_with_stdio(false);
    std::unique_ptr<Playtest> started;
    try {
        started = std::make_unique<Playtest>();
    } catch (const Playtest::AlreadyRunning& e) {
        // Not an error: the other copy goes on, and this one leaves the save alone.
        std::cerr << "playtest: " << e.what() << '\n';
        return 0;
    }
    Playtest& playtest = *started;
    std::string line;
    while (std::getline(std::cin, line)) {
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
