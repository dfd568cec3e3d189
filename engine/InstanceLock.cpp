#include "InstanceLock.h"

#include "AppIdentity.h"
#include "DesktopIdentity.h"
#include "Display.h"
#include "Log.h"
#include "PlayerTexts.h"

#include <SDL.h>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <system_error>
#include <unistd.h>

namespace cocos2d {

namespace {

// The lock this program holds, if any: a fresh save file takes it over.
InstanceLock* g_held = nullptr;

// A name for a folder whose path does not fit in a socket's address.
std::string hashOf(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text)
        hash = (hash ^ c) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}
} // namespace

std::string InstanceLock::nameFor(const std::string& folder) {
    // The same folder reached through a link is the same folder.
    std::error_code ec;
    std::string path = std::filesystem::weakly_canonical(folder, ec).string();
    if (ec || path.empty()) path = folder;
    const std::string prefix = AppIdentity::get().name + " ";
    std::string name = prefix + path;
    // The zero byte in front takes one place of the address.
    if (name.size() > sizeof(sockaddr_un::sun_path) - 1) name = prefix + "#" + hashOf(path);
    return name;
}

InstanceLock::InstanceLock(const std::string& folder, const std::string& store) : _folder(folder) {
    if (folder.empty()) {
        _held = true;
        return;
    }
    // An existing save is locked first: only this lock sees a copy in another namespace.
    if (!store.empty() && !lockFile(store)) return;
    const std::string name = nameFor(folder);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());

    _socket = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (_socket >= 0 && bind(_socket, reinterpret_cast<const sockaddr*>(&address), length) == 0) {
        _held = true;
        g_held = this;
        return;
    }
    const int error = errno;
    if (_socket >= 0) close(_socket);
    _socket = -1;
    if (error == EADDRINUSE) return;
    // Without sockets the file's lock is all there is; playing on is better than refusing to start.
    if (_file < 0) warn("cannot make sure only one copy uses %s (%s)", folder.c_str(), std::strerror(error));
    _held = true;
    g_held = this;
}

InstanceLock::~InstanceLock() {
    if (g_held == this) g_held = nullptr;
    if (_socket >= 0) close(_socket);
    if (_file >= 0) close(_file);
}

// True when the file is ours now, or cannot be opened at all (nothing to lock, nothing lost:
// whoever opens it next tries again).
bool InstanceLock::lockFile(const std::string& path) {
    const int opened = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (opened < 0) return true;
    struct stat wanted {
    }, held{};
    if (_file >= 0 && fstat(opened, &wanted) == 0 && fstat(_file, &held) == 0 &&
        wanted.st_dev == held.st_dev && wanted.st_ino == held.st_ino) {
        close(opened);
        return true;
    }
    if (flock(opened, LOCK_EX | LOCK_NB) != 0) {
        const bool taken = errno == EWOULDBLOCK;
        close(opened);
        return !taken;
    }
    if (_file >= 0) close(_file);
    _file = opened;
    return true;
}

bool InstanceLock::claim(const std::string& path) {
    return !g_held || g_held->lockFile(path);
}

void InstanceLock::tellAlreadyRunning() const {
    warn("already running with its progress in %s: this copy closes without touching it", _folder.c_str());
    if (Display::headlessRequested()) return;
    // Launched from a desktop, standard error goes nowhere anyone looks.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, DesktopIdentity::get().name.c_str(),
                             PlayerTexts::get().alreadyRunning.c_str(), nullptr);
    SDL_Quit();
}

} // namespace cocos2d
