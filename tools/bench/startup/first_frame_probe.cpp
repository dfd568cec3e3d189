// Preloaded into a program under test: when its first frame has been presented, writes the
// moment (CLOCK_MONOTONIC, nanoseconds) and the process's peak resident memory so far (kB) to
// the file descriptor named by DOVI_FIRST_FRAME_FD, and ends the process at once. The program
// itself is not changed.
#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <unistd.h>

namespace {

std::int64_t peakKilobytes() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return -1;
    char line[256];
    std::int64_t kb = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, "VmHWM:", 6) == 0) kb = std::atoll(line + 6);
    std::fclose(status);
    return kb;
}

} // namespace

extern "C" void SDL_RenderPresent(SDL_Renderer* renderer) {
    using Present = void (*)(SDL_Renderer*);
    static const auto real = reinterpret_cast<Present>(dlsym(RTLD_NEXT, "SDL_RenderPresent"));
    if (real) real(renderer);
    const char* fd = std::getenv("DOVI_FIRST_FRAME_FD");
    if (!fd) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const std::int64_t report[2] = {static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec,
                                    peakKilobytes()};
    if (write(std::atoi(fd), report, sizeof report) != static_cast<ssize_t>(sizeof report)) _exit(3);
    _exit(0);
}
