#include "engine/platform/Checkpointer.h"

#include "engine/platform/Threads.h"
#include "engine/store/StoreReader.h"

#include <sqlite3.h>

#include <chrono>

namespace cocos2d {

Checkpointer::Checkpointer(const std::string& path, sqlite3* convert) : _path(path) {
    // Without threads (the browser) the page's own copy of the file is what lasts.
    sqlite3* db = nullptr;
    const int rc = Threads::available() ? sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr)
                                        : SQLITE_CANTOPEN;
    _db.reset(db);
    if (rc != SQLITE_OK) {
        _db.reset();
        if (convert) sqlite3_exec(convert, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        return;
    }
    // Closing must leave the file to its owner, who may be moving it aside.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    // The WAL synced before it is copied into the file, and the file after.
    sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    // A game writing meanwhile only delays the sync: try again briefly rather than give up.
    sqlite3_busy_timeout(db, 100);
    _ready = convert == nullptr;
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

bool Checkpointer::ready(bool wait) {
    std::unique_lock lock(_mutex);
    // Another program may hold the file for good: the wait ends, and the commit waits for later.
    if (wait) _converted.wait_for(lock, std::chrono::seconds(10), [this] { return _ready; });
    return _ready;
}

bool Checkpointer::takeDamage() {
    return _damaged.exchange(false);
}

// True once the file is in WAL mode, or can never be (it stays as it is, and commits sync).
bool Checkpointer::convertNow() {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(_db.get(), "PRAGMA journal_mode=WAL", -1, &stmt, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    return !StoreReader::isBusy(rc);
}

void Checkpointer::judge() {
    std::string why;
    bool hasTable = false;
    const int rc = StoreReader::judge(_path, hasTable, why);
    if (StoreReader::isBadContent(rc) || (rc == SQLITE_OK && !hasTable)) _damaged = true;
}

void Checkpointer::run() {
    std::unique_lock lock(_mutex);
    while (!_ready) {
        lock.unlock();
        // The file's header changes meanwhile: nothing judges it until done.
        std::unique_lock working(_working);
        const bool done = convertNow();
        working.unlock();
        lock.lock();
        if (done || _stopping) {
            _ready = true;
            _converted.notify_all();
        } else {
            _wake.wait_for(lock, std::chrono::milliseconds(50));
        }
    }
    for (;;) {
        _wake.wait(lock, [this] { return _waiting || _stopping; });
        if (!_waiting) return;
        // Several commits in a row share one sync.
        if (!_stopping)
            _wake.wait_for(lock, std::chrono::duration<double>(kDelaySeconds), [this] { return _stopping; });
        _waiting = false;
        const bool stopping = _stopping;
        lock.unlock();
        std::unique_lock working(_working);
        // Syncs the WAL, copies it into the file and syncs that: the commits are now safe.
        const int rc =
            sqlite3_wal_checkpoint_v2(_db.get(), nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        if (!stopping) judge();
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
