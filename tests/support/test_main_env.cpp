// Every test process keeps its saved progress in a folder of its own, never the player's.
#include "game/app/GameIdentity.h"
#include "tests/support/TempDirs.h"
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {
struct PrivateStore {
    PrivateStore() {
        char dir[] = "/tmp/doviveduzuz-test-XXXXXX";
        if (TempDirs::keep(mkdtemp(dir))) setenv("XDG_DATA_HOME", dir, 1);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        // The game's names and words, as the program and the harness have them.
        GameIdentity::install();
    }
} g_privateStore;
} // namespace
