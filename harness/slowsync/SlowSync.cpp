// A slow disk, for tests and measurements: preloaded (LD_PRELOAD), it makes every fsync and
// fdatasync wait DOVI_SYNC_DELAY_MS milliseconds (1500 unless set) before doing it, and writes
// "main" or "thread" for each to the file named by DOVI_SYNC_LOG, if set, for the thread that
// waited.
#include <chrono>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace {

void slowly() {
    const char* delay = std::getenv("DOVI_SYNC_DELAY_MS");
    if (const char* log = std::getenv("DOVI_SYNC_LOG")) {
        const int fd = open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        const bool main = gettid() == getpid();
        if (fd >= 0 && write(fd, main ? "main\n" : "thread\n", main ? 5 : 7) < 0) {
        }
        if (fd >= 0) close(fd);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(delay ? std::atoi(delay) : 1500));
}

template <typename Call> Call next(const char* name) {
    return reinterpret_cast<Call>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int fsync(int fd) {
    static const auto real = next<int (*)(int)>("fsync");
    slowly();
    return real(fd);
}

extern "C" int fdatasync(int fd) {
    static const auto real = next<int (*)(int)>("fdatasync");
    slowly();
    return real(fd);
}
