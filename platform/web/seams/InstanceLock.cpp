// The browser's side: the page takes its tab's lock on the save before the engine starts (a
// second tab waits there, saying so), so the engine always holds it.
#include "engine/platform/InstanceLock.h"

namespace cocos2d {

InstanceLock::InstanceLock(const std::string& folder, const std::string&) : _folder(folder), _held(true) {}

bool InstanceLock::claim(const std::string&) {
    return true;
}

// There are no descriptors in the browser; the fields stay for the desktop's side.
InstanceLock::~InstanceLock() {
    static_cast<void>(_directory);
    static_cast<void>(_file);
}

void InstanceLock::tellAlreadyRunning() const {}

} // namespace cocos2d
