#pragma once
// One running copy of the game per save, so that two copies never write over each other's
// progress. The lock is taken on the save file itself (flock on a read-only descriptor), which
// holds however the file is reached: another path, a bind mount, a hard link, another network
// namespace. A folder with no save yet is held by an abstract socket named after it. Neither
// needs write access, and the kernel lets go of both when their holder ends, however it ends,
// so a copy killed with SIGKILL never keeps the next one out.
#include <string>

namespace cocos2d {

class InstanceLock {
  public:
    // Takes the lock of `folder` and of the save file `store` in it. An empty folder (nowhere to
    // save) has nothing to guard.
    InstanceLock(const std::string& folder, const std::string& store);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another running copy holds the lock of this folder or save.
    bool held() const { return _held; }
    // Moves the held lock onto the save file at `path` (a fresh one, or the first): called
    // before anything is written to it. False when another running copy holds that file; true
    // when no lock is held in this program.
    static bool claim(const std::string& path);
    // Tells the player this copy is not needed: a line on standard error and, where there is
    // a display, a message box.
    void tellAlreadyRunning() const;

    // The socket's name, without the leading zero byte that makes it abstract.
    static std::string nameFor(const std::string& folder);

  private:
    bool lockFile(const std::string& path);

    std::string _folder;
    int _socket = -1;
    // Open read-only on the save file, holding its flock.
    int _file = -1;
    bool _held = false;
};

} // namespace cocos2d
