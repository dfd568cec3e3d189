#pragma once
// Carries the store's commits to the device on a thread of its own. A frame's commit goes to
// the WAL without waiting for the disk (it survives the game being killed, the system keeps
// it); a power loss is what the sync guards against, and it follows here within a second, so
// that no frame ever waits on a slow disk.
#include "SqliteHandle.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace cocos2d {

class Checkpointer {
  public:
    // Longest wait between a commit and its sync.
    static constexpr double kDelaySeconds = 0.25;

    // Opens a connection of its own to the store at `path`; does nothing when it cannot.
    explicit Checkpointer(const std::string& path);
    // Syncs what is still waiting, then ends the thread.
    ~Checkpointer();
    Checkpointer(const Checkpointer&) = delete;
    Checkpointer& operator=(const Checkpointer&) = delete;

    // A commit has been made: sync it soon.
    void nudge();
    // Held, no checkpoint runs; empty when one is running now.
    std::unique_lock<std::mutex> quiet();

  private:
    void run();

    SqliteDb _db;
    std::mutex _mutex;
    std::mutex _working;
    std::condition_variable _wake;
    bool _waiting = false;
    bool _stopping = false;
    std::thread _thread;
};

} // namespace cocos2d
