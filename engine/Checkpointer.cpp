#include "Checkpointer.h"

#include "Threads.h"

#include <sqlite3.h>

#include <chrono>

namespace cocos2d {

Checkpointer::Checkpointer(const std::string& path) {
    // Without threads (the browser) the page's own copy of the file is what lasts.
    if (!Threads::available()) return;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    _db.reset(db);
    if (rc != SQLITE_OK) {
        _db.reset();
        return;
    }
    // Closing must leave the file to its owner, who may be moving it aside.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    // The WAL synced before it is copied into the file, and the file after.
    sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    // A game writing meanwhile only delays the sync: try again briefly rather than give up.
    sqlite3_busy_timeout(db, 100);
    _thread = std::thread([this] { run(); });
}

Checkpointer::~Checkpointer() {
    if (!_thread.joinable()) return;
    {
        std::lock_guard lock(_mutex);
        _stopping = true;
    }
    _wake.notify_one();
    _thread.join();
}

void Checkpointer::nudge() {
    if (!_thread.joinable()) return;
    {
        std::lock_guard lock(_mutex);
        _waiting = true;
    }
    _wake.notify_one();
}

void Checkpointer::run() {
    std::unique_lock lock(_mutex);
    for (;;) {
        _wake.wait(lock, [this] { return _waiting || _stopping; });
        if (!_waiting) return;
        // Several commits in a row share one sync.
        if (!_stopping)
            _wake.wait_for(lock, std::chrono::duration<double>(kDelaySeconds), [this] { return _stopping; });
        _waiting = false;
        lock.unlock();
        std::unique_lock working(_working);
        // Syncs the WAL, copies it into the file and syncs that: the commits are now safe.
        const int rc =
            sqlite3_wal_checkpoint_v2(_db.get(), nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        working.unlock();
        lock.lock();
        // Held by a commit under way: the sync is still owed.
        if (((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) && !_stopping) _waiting = true;
    }
}

std::unique_lock<std::mutex> Checkpointer::quiet() {
    return std::unique_lock<std::mutex>(_working, std::try_to_lock);
}

} // namespace cocos2d
