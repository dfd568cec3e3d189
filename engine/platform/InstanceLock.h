#pragma once
// One running copy of the game per save, so that two copies never write over each other's
// progress. The lock is a flock on the save folder itself, which outlives the save file: it
// holds however the folder is reached (another path, a bind mount, another network or mount
// namespace) and at every moment, the save being rewritten included. A flock on the save file
// as well refuses a copy that reaches the file through a hard link in another folder. Neither
// needs write access, and the kernel lets go of both when their holder ends, however it ends,
// so a copy killed with SIGKILL never keeps the next one out.
#include <string>

namespace cocos2d {

class InstanceLock {
  public:
    // Takes the lock of `folder` (made if missing) and of the save file `store` in it. An empty
    // folder (nowhere to save) has nothing to guard.
    InstanceLock(const std::string& folder, const std::string& store);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another running copy holds the lock of this folder or save.
    bool held() const { return _held; }
    // Before anything is written at the save file `path`: makes sure this program holds the
    // folder there now (made afresh if it was deleted) and the file itself (a fresh one, or the
    // first). False when another running copy holds either; true when no lock is held in this
    // program.
    static bool claim(const std::string& path);
    // Tells the player this copy is not needed: a line on standard error and, where there is
    // a display, a message box.
    void tellAlreadyRunning() const;

  private:
    bool lockFolder(const std::string& folder);
    bool lockFile(const std::string& path);

    std::string _folder;
    // Open read-only on the folder and on the save file, each holding its flock.
    int _directory = -1;
    int _file = -1;
    bool _held = false;
};

} // namespace cocos2d
