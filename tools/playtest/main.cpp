// The playtest program: the game headless on a virtual clock, one command per line on
// standard input, one answer per line on standard output.
#include "Playtest.h"

#include <iostream>

int main() {
    std::ios::sync_with_stdio(false);
    Playtest playtest;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        if (line == "quit") break;
        try {
            std::cout << playtest.execute(line) << '\n' << std::flush;
        } catch (const Playtest::BadCommand& e) {
            std::cerr << "playtest: " << e.what() << '\n';
            return 2;
        }
    }
    return 0;
}
