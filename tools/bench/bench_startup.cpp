// Start-up: from launch to the first frame presented, for the game and for a minimal SDL
// program that opens the same window with the same renderer. A probe preloaded into each
// (startup/first_frame_probe.cpp) notes the moment of the first present and ends the process,
// so both are timed alike and neither is changed. Needs a display: run under xvfb-run, or
// with SDL_VIDEODRIVER=dummy.
#include "tools/bench/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

std::int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

struct Launch {
    double seconds; // from launch to the first present
    double peakMB;  // resident memory by then
};

// Nothing if the program never presented a frame.
std::optional<Launch> launchToFirstFrame(const char* program) {
    int fds[2];
    if (pipe(fds) != 0) return std::nullopt;
    // The child's environment is made here: between fork and exec only exec is safe.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "LD_PRELOAD=", 11) != 0) env.emplace_back(*e);
    env.push_back("DOVI_FIRST_FRAME_FD=" + std::to_string(fds[1]));
    env.push_back(std::string("LD_PRELOAD=") + DOVI_FIRST_FRAME_PROBE);
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    char* const argv[] = {const_cast<char*>(program), nullptr};

    const std::int64_t start = monotonicNs();
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        execve(program, argv, envp.data());
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return std::nullopt;
    }
    std::int64_t report[2] = {};
    pollfd p{fds[0], POLLIN, 0};
    // A program that hangs is a failure, not a wait for ever.
    const bool ready = poll(&p, 1, 30000) == 1;
    const bool got = ready && read(fds[0], report, sizeof report) == sizeof report;
    close(fds[0]);
    if (!got) kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!got) return std::nullopt;
    return Launch{static_cast<double>(report[0] - start) * 1e-9, static_cast<double>(report[1]) / 1024.0};
}

bool haveDisplay(benchmark::State& state) {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && *driver) {
        state.SetLabel(std::string("SDL_VIDEODRIVER=") + driver);
        return true;
    }
    if (const char* display = std::getenv("DISPLAY"); display && *display) {
        state.SetLabel("X11 display");
        return true;
    }
    state.SkipWithError("no display: run under xvfb-run or set SDL_VIDEODRIVER=dummy");
    return false;
}

void timeLaunches(benchmark::State& state, const char* program) {
    if (!haveDisplay(state)) return;
    bench::ScopedDataHome home;
    // Once untimed: the files come into the page cache, and the game's store is created.
    if (!launchToFirstFrame(program)) {
        state.SkipWithError("the program presented no frame");
        return;
    }
    double peak = 0;
    for (auto _ : state) {
        const auto launch = launchToFirstFrame(program);
        if (!launch) {
            state.SkipWithError("the program presented no frame");
            return;
        }
        state.SetIterationTime(launch->seconds);
        peak += launch->peakMB;
    }
    state.counters["peak_MB"] = peak / static_cast<double>(state.iterations());
}

void BM_StartupGame(benchmark::State& state) {
    timeLaunches(state, DOVI_GAME_EXE);
}
void BM_StartupMinimalSdl(benchmark::State& state) {
    timeLaunches(state, DOVI_MINIMAL_SDL_EXE);
}

// The two launched in turn, so that both see the same machine load; the time reported is the
// game's, and the counter "ratio" is game / minimal.
void BM_StartupRatio(benchmark::State& state) {
    if (!haveDisplay(state)) return;
    bench::ScopedDataHome home;
    if (!launchToFirstFrame(DOVI_GAME_EXE) || !launchToFirstFrame(DOVI_MINIMAL_SDL_EXE)) {
        state.SkipWithError("a program presented no frame");
        return;
    }
    double game = 0, minimal = 0;
    for (auto _ : state) {
        const auto g = launchToFirstFrame(DOVI_GAME_EXE);
        const auto m = launchToFirstFrame(DOVI_MINIMAL_SDL_EXE);
        if (!g || !m) {
            state.SkipWithError("a program presented no frame");
            return;
        }
        game += g->seconds;
        minimal += m->seconds;
        state.SetIterationTime(g->seconds);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["game_ms"] = game / n * 1e3;
    state.counters["minimal_ms"] = minimal / n * 1e3;
    state.counters["ratio"] = game / minimal;
}

} // namespace

BENCHMARK(BM_StartupGame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_StartupMinimalSdl)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_StartupRatio)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
