// The browser's side: no threads, and nothing to sync (the file lives in the page's memory). What
// lasts is the page's copy of the folder, made right after each commit, so the WAL is folded into
// the file and emptied at once: the copy is the file alone, a few pages, however long the game runs.
#include "engine/platform/Checkpointer.h"

#include <sqlite3.h>

namespace cocos2d {

Checkpointer::Checkpointer(const std::string& path, sqlite3* convert) : _path(path) {
    // Turned into a WAL one inline: the file is in memory, so the syncs cost nothing here.
    if (convert) sqlite3_exec(convert, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    _db.reset(db);
    if (rc != SQLITE_OK) {
        _db.reset();
        return;
    }
    // Closing must leave the file to its owner, who may be moving it aside.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
}

Checkpointer::~Checkpointer() = default;

void Checkpointer::nudge() {
    if (_db) sqlite3_wal_checkpoint_v2(_db.get(), nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
}

bool Checkpointer::ready(bool) {
    return true;
}

// Nothing outside the page reaches the file in its memory.
bool Checkpointer::takeDamage() {
    return _damaged.exchange(false);
}

// Never called: the members stay for the desktop's side.
void Checkpointer::run() {
    static_cast<void>(_waiting);
    static_cast<void>(_stopping);
    static_cast<void>(_ready);
}

// A checkpoint never runs between frames here.
std::unique_lock<std::mutex> Checkpointer::quiet() {
    return std::unique_lock<std::mutex>(_working);
}

} // namespace cocos2d
