// Preloaded into a program under test: notes every frame it presents, without changing the
// program. For each SDL_RenderPresent it writes one record to the file descriptor named by
// DOVI_PRESENT_LOG_FD: when the frame's drawing began (its first SDL_RenderClear after the
// previous present), when it ended, when the present returned (CLOCK_MONOTONIC, nanoseconds),
// and the process's CPU time so far (nanoseconds, every thread). The drawing ends when the
// program's glFinish returns, for a program that finishes its drawing and then waits for the
// frame's moment before presenting (the game does), or else when the present returns.
#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <unistd.h>

namespace {

std::int64_t nanoseconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

int logFd() {
    static const int fd = [] {
        const char* name = std::getenv("DOVI_PRESENT_LOG_FD");
        return name ? std::atoi(name) : -1;
    }();
    return fd;
}

std::int64_t g_drawStart = 0;
std::int64_t g_drawEnd = 0;
void (*g_finish)() = nullptr;

void timedFinish() {
    g_finish();
    g_drawEnd = nanoseconds(CLOCK_MONOTONIC);
}

template <typename F> F real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int SDL_RenderClear(SDL_Renderer* renderer) {
    static const auto clear = real<int (*)(SDL_Renderer*)>("SDL_RenderClear");
    if (g_drawStart == 0) g_drawStart = nanoseconds(CLOCK_MONOTONIC);
    return clear ? clear(renderer) : -1;
}

// A program that asks for glFinish gets it timed.
extern "C" void* SDL_GL_GetProcAddress(const char* name) {
    static const auto lookUp = real<void* (*)(const char*)>("SDL_GL_GetProcAddress");
    void* found = lookUp ? lookUp(name) : nullptr;
    if (!found || SDL_strcmp(name, "glFinish") != 0) return found;
    g_finish = reinterpret_cast<void (*)()>(found);
    return reinterpret_cast<void*>(&timedFinish);
}

extern "C" void SDL_RenderPresent(SDL_Renderer* renderer) {
    static const auto present = real<void (*)(SDL_Renderer*)>("SDL_RenderPresent");
    if (present) present(renderer);
    const std::int64_t now = nanoseconds(CLOCK_MONOTONIC);
    const std::int64_t began = g_drawStart ? g_drawStart : now;
    const std::int64_t record[4] = {began, g_drawEnd > began ? g_drawEnd : now, now,
                                    nanoseconds(CLOCK_PROCESS_CPUTIME_ID)};
    g_drawStart = 0;
    g_drawEnd = 0;
    if (logFd() >= 0 && write(logFd(), record, sizeof record) != static_cast<ssize_t>(sizeof record))
        _exit(3);
}
