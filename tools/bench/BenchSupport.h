#pragma once
// Shared by the benchmarks: a store of their own, and the round driven with keys.
#include "harness/playtest/RoundDriver.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace bench {

// Points the store at a fresh folder for as long as it lives.
class ScopedDataHome {
  public:
    ScopedDataHome() {
        char dir[] = "/tmp/doviveduzuz-bench-XXXXXX";
        if (!mkdtemp(dir)) std::abort();
        _dir = dir;
        setenv("XDG_DATA_HOME", _dir.c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
    }
    ~ScopedDataHome() {
        std::error_code ec;
        std::filesystem::remove_all(_dir, ec);
    }
    ScopedDataHome(const ScopedDataHome&) = delete;
    ScopedDataHome& operator=(const ScopedDataHome&) = delete;
    const std::string& path() const { return _dir; }

  private:
    std::string _dir;
};

using playtest::busiestRound;
using playtest::enterTargets;
using playtest::holdTimer;
using playtest::kFps;
using playtest::roundLayer;

} // namespace bench
