#pragma once
// Carries the store's commits to the device on a thread of its own. A frame's commit goes to
// the WAL without waiting for the disk (it survives the game being killed, the system keeps
// it); a power loss is what the sync guards against, and it follows here within a second, so
// that no frame ever waits on a slow disk. The same thread turns a save still in rollback-journal
// mode into a WAL one (several syncs) and, after each sync, reads the file afresh as the next
// start would, to find damage done to it from outside.
#include "engine/store/SqliteHandle.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace cocos2d {

class Checkpointer {
  public:
    // Longest wait between a commit and its sync.
    static constexpr double kDelaySeconds = 0.25;

    // Opens a connection of its own to the store at `path`. With `convert`, the store is in
    // rollback-journal mode and is turned into a WAL one first (by `convert` itself, inline,
    // where there is no thread). Does nothing else when it cannot open the file.
    Checkpointer(const std::string& path, sqlite3* convert);
    // Syncs what is still waiting, then ends the thread.
    ~Checkpointer();
    Checkpointer(const Checkpointer&) = delete;
    Checkpointer& operator=(const Checkpointer&) = delete;

    // A commit has been made: sync it soon.
    void nudge();
    // Held, no checkpoint runs; empty when one is running now.
    std::unique_lock<std::mutex> quiet();
    // The store is in its final journal mode and may take commits; `wait` waits for it a while.
    bool ready(bool wait);
    // The file read afresh after a sync was found damaged; said once.
    bool takeDamage();

  private:
    void run();
    bool convertNow();
    void judge();

    std::string _path;
    SqliteDb _db;
    std::mutex _mutex;
    std::mutex _working;
    std::condition_variable _wake;
    std::condition_variable _converted;
    bool _waiting = false;
    bool _stopping = false;
    bool _ready = true;
    std::atomic<bool> _damaged = false;
    std::thread _thread;
};

} // namespace cocos2d
