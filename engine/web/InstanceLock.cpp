// The browser's side: the page takes its tab's lock on the save before the engine starts (a
// second tab waits there, saying so), so the engine always holds it.
#include "InstanceLock.h"

namespace cocos2d {

InstanceLock::InstanceLock(const std::string& folder) : _folder(folder), _socket(-1), _held(true) {}

// No socket here: the page holds the lock.
InstanceLock::~InstanceLock() {
    static_cast<void>(_socket);
}

void InstanceLock::tellAlreadyRunning() const {}

std::string InstanceLock::nameFor(const std::string& folder) {
    return folder;
}

} // namespace cocos2d
