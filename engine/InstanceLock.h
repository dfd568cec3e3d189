#pragma once
// One running copy of the game per save folder, so that two copies never write over each
// other's progress. The lock is an abstract socket named after the folder: it needs no write
// access anywhere (nor the folder to exist yet), and the kernel lets go of it when its holder
// ends, however it ends, so a copy killed with SIGKILL never keeps the next one out.
#include <string>

namespace cocos2d {

class InstanceLock {
  public:
    // Takes the lock of `folder`. An empty folder (nowhere to save) has nothing to guard.
    explicit InstanceLock(const std::string& folder);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another running copy holds the lock of this folder.
    bool held() const { return _held; }
    // Tells the player this copy is not needed: a line on standard error and, where there is
    // a display, a message box.
    void tellAlreadyRunning() const;

    // The socket's name, without the leading zero byte that makes it abstract.
    static std::string nameFor(const std::string& folder);

  private:
    std::string _folder;
    int _socket = -1;
    bool _held = false;
};

} // namespace cocos2d
