// The soak program: the random-input player on the game for as many frames as asked, in a store
// folder of its own. Prints progress lines, then the run's figures as one JSON line; exits 1 if
// any promise was broken.
//
//   soak [--frames N] [--seed S] [--check-every N] [--progress N]
//
// The full run (a million frames, over four and a half hours of play) in the sanitizer build:
//   build-asan/soak --frames 1000000
#include "harness/soak/SoakPlayer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    SoakPlayer::Options options;
    options.frames = 1000000;
    options.progressEvery = 50000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const long long value = std::atoll(argv[i + 1]);
        if (flag == "--frames")
            options.frames = value;
        else if (flag == "--seed")
            options.seed = static_cast<unsigned>(value);
        else if (flag == "--check-every")
            options.checkEvery = static_cast<int>(value);
        else if (flag == "--progress")
            options.progressEvery = value;
        else {
            std::cerr << "soak: unknown option " << flag << "\n";
            return 2;
        }
    }
    if (argc % 2 == 0) {
        std::cerr << "usage: soak [--frames N] [--seed S] [--check-every N] [--progress N]\n";
        return 2;
    }

    char folder[] = "/tmp/doviveduzuz-soak-XXXXXX";
    if (!mkdtemp(folder)) {
        std::perror("soak: mkdtemp");
        return 2;
    }
    setenv("XDG_DATA_HOME", folder, 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SDL_VIDEODRIVER", "dummy", 0);

    const auto start = std::chrono::steady_clock::now();
    const auto seconds = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    options.progress = [&](const SoakPlayer& player) {
        const double s = seconds();
        std::cout << "frame " << player.framesPlayed() << "  " << static_cast<long long>(s) << " s  "
                  << static_cast<long long>(static_cast<double>(player.framesPlayed()) / s) << " fps  heap "
                  << player.figures()["heapLastKB"] << " kB  " << player.figures()["stats"].dump()
                  << std::endl;
    };

    nlohmann::json figures;
    bool clean = false;
    {
        Playtest pt;
        SoakPlayer player(pt, options);
        player.run();
        figures = player.figures();
        for (const std::string& fault : player.faults())
            std::cout << "FAULT " << fault << "\n";
        clean = player.faults().empty();
    }
    const double s = seconds();
    figures["seconds"] = s;
    figures["fps"] = static_cast<double>(figures["frames"].get<long long>()) / s;
    std::cout << figures.dump() << std::endl;
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return clean ? 0 : 1;
}
