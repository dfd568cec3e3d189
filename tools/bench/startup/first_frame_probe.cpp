// Preloaded into a program under test: when its first frame has been presented, writes the
// moment (CLOCK_MONOTONIC, nanoseconds) to the file descriptor named by DOVI_FIRST_FRAME_FD
// and ends the process at once. The program itself is not changed.
#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <unistd.h>

extern "C" void SDL_RenderPresent(SDL_Renderer* renderer) {
    using Present = void (*)(SDL_Renderer*);
    static const auto real = reinterpret_cast<Present>(dlsym(RTLD_NEXT, "SDL_RenderPresent"));
    if (real) real(renderer);
    const char* fd = std::getenv("DOVI_FIRST_FRAME_FD");
    if (!fd) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::int64_t ns = static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
    if (write(std::atoi(fd), &ns, sizeof ns) != static_cast<ssize_t>(sizeof ns)) _exit(3);
    _exit(0);
}
