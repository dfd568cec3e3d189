// The browser's side: the page takes its tab's lock on the save before the engine starts (a
// second tab waits there, saying so), so the engine always holds it.
#include "InstanceLock.h"

namespace cocos2d {

InstanceLock::InstanceLock(const std::string& folder) : _folder(folder), _socket(-1), _held(true) {}

// There is no socket in the browser; the field stays for the desktop's side.
InstanceLock::~InstanceLock() {
    static_cast<void>(_socket);
}

void InstanceLock::tellAlreadyRunning() const {}

std::string InstanceLock::nameFor(const std::string& folder) {
    return folder;
}

} // namespace cocos2d
