#include "engine/platform/InstanceLock.h"

#include "engine/base/Log.h"
#include "engine/base/PlayerTexts.h"
#include "engine/platform/Display.h"
#include "engine/window/DesktopIdentity.h"

#include <SDL.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace cocos2d {

namespace {

// The lock this program holds, if any: a fresh save file, or a folder made afresh, takes it over.
InstanceLock* g_held = nullptr;

enum class Taken { Ours, Theirs, Nothing };

// Locks what is at `path` if it is of the kind wanted, into `held` (replacing what it held).
// Opened without blocking: a FIFO or a device in the save's place must not hang the game
// before it can say so.
Taken take(const std::string& path, int flags, bool (*wanted)(mode_t), int& held) {
    const int opened = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | flags);
    if (opened < 0) return Taken::Nothing;
    struct stat found {
    }, ours{};
    if (fstat(opened, &found) != 0 || !wanted(found.st_mode)) {
        close(opened);
        return Taken::Nothing;
    }
    if (held >= 0 && fstat(held, &ours) == 0 && found.st_dev == ours.st_dev && found.st_ino == ours.st_ino) {
        close(opened);
        return Taken::Ours;
    }
    if (flock(opened, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(opened);
        if (error == EWOULDBLOCK) return Taken::Theirs;
        // A file system without locks: playing on is better than refusing to start.
        warn("cannot make sure only one copy uses %s (%s)", path.c_str(), std::strerror(error));
        return Taken::Nothing;
    }
    if (held >= 0) close(held);
    held = opened;
    return Taken::Ours;
}

bool isFolder(mode_t mode) {
    return S_ISDIR(mode);
}
bool isFile(mode_t mode) {
    return S_ISREG(mode);
}

} // namespace

InstanceLock::InstanceLock(const std::string& folder, const std::string& store) : _folder(folder) {
    if (folder.empty()) {
        _held = true;
        return;
    }
    // The folder is made now, so that the lock never lapses: a folder that cannot be made
    // holds no save either, and is locked once the store makes it.
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!lockFolder(folder)) return;
    if (!store.empty() && !lockFile(store)) return;
    _held = true;
    g_held = this;
}

InstanceLock::~InstanceLock() {
    if (g_held == this) g_held = nullptr;
    if (_file >= 0) close(_file);
    if (_directory >= 0) close(_directory);
}

// True when the folder or file is ours now, or there is none of that kind to lock (nothing to
// lose: whoever makes one next locks it first).
bool InstanceLock::lockFolder(const std::string& folder) {
    return take(folder, O_DIRECTORY, isFolder, _directory) != Taken::Theirs;
}

bool InstanceLock::lockFile(const std::string& path) {
    return take(path, 0, isFile, _file) != Taken::Theirs;
}

bool InstanceLock::claim(const std::string& path) {
    if (!g_held) return true;
    return g_held->lockFolder(std::filesystem::path(path).parent_path().string()) && g_held->lockFile(path);
}

void InstanceLock::tellAlreadyRunning() const {
    warn("already running with its progress in %s: this copy closes without touching it", _folder.c_str());
    // Launched from a desktop, standard error goes nowhere anyone looks.
    if (!Display::headlessRequested())
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, DesktopIdentity::get().name.c_str(),
                                 PlayerTexts::get().alreadyRunning.c_str(), nullptr);
    SDL_Quit();
}

} // namespace cocos2d
