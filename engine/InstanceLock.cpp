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
#include <filesystem>
#include <sys/socket.h>
#include <sys/un.h>
#include <system_error>
#include <unistd.h>

namespace cocos2d {

namespace {

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

InstanceLock::InstanceLock(const std::string& folder) : _folder(folder) {
    if (folder.empty()) {
        _held = true;
        return;
    }
    const std::string name = nameFor(folder);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());

    _socket = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (_socket >= 0 && bind(_socket, reinterpret_cast<const sockaddr*>(&address), length) == 0) {
        _held = true;
        return;
    }
    const int error = errno;
    if (_socket >= 0) close(_socket);
    _socket = -1;
    if (error == EADDRINUSE) return;
    // Without sockets there is no telling; playing on is better than refusing to start.
    warn("cannot make sure only one copy uses %s (%s)", folder.c_str(), std::strerror(error));
    _held = true;
}

InstanceLock::~InstanceLock() {
    if (_socket >= 0) close(_socket);
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
