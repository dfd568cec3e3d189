#include "engine/store/SaveFile.h"

#include "engine/base/Log.h"
#include "engine/platform/InstanceLock.h"
#include "engine/store/SaveAside.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace cocos2d {

namespace {

using Outcome = SaveFile::Opening::Outcome;

bool execute(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool inWal(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    bool wal = false;
    if (sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        const auto* mode = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        wal = mode && std::strcmp(mode, "wal") == 0;
    }
    sqlite3_finalize(stmt);
    return wal;
}

// SQLite gives a new WAL and its index the file's permissions once; a file made writable
// later would stay unsaveable behind companions still read-only.
void matchCompanions(const std::string& path) {
    struct stat file {};
    if (stat(path.c_str(), &file) != 0 || access(path.c_str(), W_OK) != 0) return;
    for (const char* suffix : {"-shm", "-wal"}) {
        const std::string companion = path + suffix;
        if (access(companion.c_str(), F_OK) == 0 && access(companion.c_str(), W_OK) != 0)
            chmod(companion.c_str(), file.st_mode & 0666);
    }
}

} // namespace

std::unique_ptr<SaveFile> SaveFile::open(const std::string& path, Opening& opening) {
    opening = Opening{};
    std::error_code made, ec;
    const fs::path folder = fs::path(path).parent_path();
    fs::create_directories(folder, made);
    if (made && !fs::is_directory(folder, ec)) {
        opening.why = "cannot create " + folder.string() + " (" + made.message() + ")";
        // Where the folder cannot be, no saved file can be either, unless the way to it is
        // closed to us and it may be there after all.
        std::error_code look;
        (void)fs::status(folder, look);
        const bool absent =
            !look || look == std::errc::no_such_file_or_directory || look == std::errc::not_a_directory;
        opening.outcome = absent ? Outcome::Unwritable : Outcome::Unreadable;
        opening.rows.read = absent;
        return nullptr;
    }

    // Nothing is written or moved before this copy is sure no other holds the save.
    if (!InstanceLock::claim(path)) {
        opening.outcome = Outcome::Taken;
        opening.why = "another copy of the game now saves its progress in " + folder.string();
        return nullptr;
    }

    // A folder, a FIFO (or anything else that is not a file) in the store's place can never be
    // opened; a link to one neither.
    const fs::file_status status = fs::symlink_status(path, ec);
    const fs::file_status target = fs::status(path, ec);
    const bool occupied = fs::exists(status) && !fs::is_regular_file(status) &&
                          (!fs::is_symlink(status) || (fs::exists(target) && !fs::is_regular_file(target)));
    std::string unusable = "not a file";
    if (!occupied) {
        matchCompanions(path);
        auto file = std::unique_ptr<SaveFile>(new SaveFile);
        file->_path = path;
        const int rc = file->connect(opening.rows, opening.why);
        if (rc == SQLITE_OK) {
            opening.outcome = Outcome::Opened;
            opening.keptAside = file->_keptAside;
            return file;
        }
        if (file->_taken) {
            opening.outcome = Outcome::Taken;
            return nullptr;
        }
        if (!StoreReader::isBadContent(rc)) {
            if (!opening.rows.read) opening.rows.read = StoreReader::loadReadOnly(path, opening.rows);
            opening.outcome = StoreReader::isBusy(rc) ? Outcome::Busy
                              : opening.rows.read     ? Outcome::Unwritable
                                                      : Outcome::Unreadable;
            opening.why = std::string(opening.rows.read ? "cannot write " : "cannot read ") + path + " (" +
                          opening.why + ")";
            return nullptr;
        }
        unusable = opening.why;
    }
    // What was there is kept aside: nothing of it is left to be written over.
    opening.rows = Rows{};
    opening.rows.read = true;
    opening.keptAside = SaveAside::move(path, unusable);
    if (opening.keptAside.empty()) {
        opening.outcome = Outcome::Stuck;
        opening.why = "cannot move " + path + " aside";
        return nullptr;
    }
    auto fresh = std::unique_ptr<SaveFile>(new SaveFile);
    fresh->_path = path;
    Rows none;
    const int rc = fresh->connect(none, opening.why);
    if (rc == SQLITE_OK) {
        opening.outcome = Outcome::Opened;
        return fresh;
    }
    if (fresh->_taken) {
        opening.outcome = Outcome::Taken;
        return nullptr;
    }
    opening.outcome = StoreReader::isBusy(rc) ? Outcome::Busy : Outcome::Unwritable;
    opening.why = "cannot create " + path + " (" + opening.why + ")";
    return nullptr;
}

int SaveFile::connect(Rows& rows, std::string& why) {
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(_path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    _db.reset(raw);
    if (rc != SQLITE_OK) {
        why = raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc);
        _db.reset();
        return rc;
    }
    sqlite3* db = raw;
    const auto fail = [&](int code, const std::string& reason) {
        why = reason.empty() ? sqlite3_errstr(code) : reason;
        _upsert.reset();
        _db.reset();
        return code;
    };
    // No frame waits on another program: a busy file is tried again on a later frame.
    sqlite3_busy_timeout(db, 0);
    // Closing normally checkpoints and deletes a WAL beside the file; while the file is on trial
    // its WAL must stay as found, in case both end up moved aside.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);

    // Everything that can find the file unusable runs before anything writes to it, so a
    // file moved aside is exactly what was found.
    bool hasTable = false;
    std::string reason;
    if ((rc = StoreReader::quickCheck(db, reason)) != SQLITE_OK) return fail(rc, reason);
    if ((rc = StoreReader::checkShape(db, hasTable, reason)) != SQLITE_OK) return fail(rc, reason);
    if (hasTable && (rc = StoreReader::loadRows(db, rows, reason)) != SQLITE_OK) return fail(rc, reason);
    rows.read = true;
    // SQLite quietly opens a write-protected file read-only; that is no place to save.
    if (sqlite3_db_readonly(db, "main") == 1) return fail(SQLITE_READONLY, "the file is read-only");
    if (!watch()) return fail(SQLITE_CANTOPEN, "cannot keep an eye on the file");
    // The one-copy lock goes with the file before anything is written to it.
    if (!InstanceLock::claim(_path)) {
        _taken = true;
        return fail(SQLITE_BUSY, "another copy of the game now saves its progress in " +
                                     fs::path(_path).parent_path().string());
    }
    if (!rows.bad.empty()) {
        std::string error;
        _keptAside = SaveAside::copy(_path, error);
        warnBadRows(rows, error);
    }
    // WAL, never synced in a frame: a commit survives the game being killed the moment after,
    // and the sync against a power loss follows on the checkpoint thread, whose connection
    // syncs the WAL before copying it into the file and the file after. Turning a save with
    // rows in rollback-journal mode syncs several times: that thread does it too.
    const bool convertLater = hasTable && !inWal(db);
    // The WAL and its index go beside the file: a folder closed to writing is no place to save.
    if (convertLater && access(fs::path(_path).parent_path().c_str(), W_OK | X_OK) != 0)
        return fail(SQLITE_CANTOPEN, std::strerror(errno));
    _inWal = !convertLater;
    if ((_inWal && (!execute(db, "PRAGMA journal_mode=WAL") || !execute(db, "PRAGMA synchronous=OFF"))) ||
        !execute(db, "CREATE TABLE IF NOT EXISTS kv(key TEXT PRIMARY KEY NOT NULL, type INTEGER NOT NULL, "
                     "value INTEGER NOT NULL)")) {
        rc = sqlite3_errcode(db);
        // The file read fine, so unless SQLite now calls it damaged, failing to write is about
        // where it lives, not about what it holds.
        const int primary = rc & 0xff;
        if (primary != SQLITE_CORRUPT && primary != SQLITE_NOTADB && !StoreReader::isBusy(rc))
            rc = SQLITE_CANTOPEN;
        return fail(rc, sqlite3_errmsg(db));
    }
    sqlite3_wal_autocheckpoint(db, 0);
    // Columns a later version may have added are left as they are.
    sqlite3_stmt* upsert = nullptr;
    rc = sqlite3_prepare_v3(db,
                            "INSERT INTO kv(key, type, value) VALUES(?1, ?2, ?3) ON CONFLICT(key) DO UPDATE "
                            "SET type = excluded.type, value = excluded.value",
                            -1, SQLITE_PREPARE_PERSISTENT, &upsert, nullptr);
    _upsert.reset(upsert);
    if (rc != SQLITE_OK) return fail(SQLITE_CANTOPEN, sqlite3_errmsg(db));
    // The rows set aside go from the store; kept, they would be reported at every start.
    if (!rows.bad.empty() && !_keptAside.empty() && execute(db, "BEGIN IMMEDIATE")) {
        bool removed = true;
        for (const auto& [rowid, key] : rows.bad)
            removed =
                removed && execute(db, ("DELETE FROM kv WHERE rowid = " + std::to_string(rowid)).c_str());
        execute(db, removed ? "COMMIT" : "ROLLBACK");
    }
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    _checkpointer = std::make_unique<Checkpointer>(_path, convertLater ? db : nullptr);
    _checkpointer->nudge();
    return SQLITE_OK;
}

void SaveFile::warnBadRows(const Rows& rows, const std::string& error) const {
    std::string keys;
    for (const auto& [rowid, key] : rows.bad)
        keys += (keys.empty() ? "\"" : ", \"") + key + "\"";
    if (_keptAside.empty())
        warn(
            "saved progress at %s holds values this game cannot use (%s); they read as 0, and no copy of the "
            "file could be kept (%s)",
            _path.c_str(), keys.c_str(), error.c_str());
    else
        warn("saved progress at %s held values this game cannot use (%s); reset them alone, kept the rest, "
             "and kept a copy of the file at %s",
             _path.c_str(), keys.c_str(), _keptAside.c_str());
}

SaveFile::~SaveFile() {
    // The last sync first; closing then folds the WAL into the file, unless abandoned, and at
    // exit a sync may take its time.
    _checkpointer.reset();
    if (_db) execute(_db.get(), "PRAGMA synchronous=FULL");
    _upsert.reset();
    _db.reset();
    if (_watch >= 0) ::close(_watch);
}

void SaveFile::abandon() {
    _checkpointer.reset();
    if (_db) sqlite3_db_config(_db.get(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
}

bool SaveFile::ready() const {
    return _checkpointer->ready(false);
}

int SaveFile::commit(const Values& values, std::string& why) {
    sqlite3* db = _db.get();
    sqlite3_stmt* upsert = _upsert.get();
    // In WAL mode the commit reaches the system at once and the checkpoint thread syncs it;
    // a file that could not be turned keeps syncing its own commits.
    if (!_inWal && !_checkpointer->ready(true)) {
        why = "the file is held while it is made ready";
        return SQLITE_BUSY;
    }
    // Reading the header first makes this connection see the file another turned.
    if (!_inWal && execute(db, "PRAGMA user_version") && inWal(db))
        _inWal = execute(db, "PRAGMA synchronous=OFF");
    int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        for (const auto& [key, value] : values) {
            sqlite3_reset(upsert);
            sqlite3_bind_text(upsert, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
            if (const bool* flag = std::get_if<bool>(&value)) {
                sqlite3_bind_int(upsert, 2, StoreReader::kTypeBool);
                sqlite3_bind_int(upsert, 3, *flag ? 1 : 0);
            } else {
                sqlite3_bind_int(upsert, 2, StoreReader::kTypeInt);
                sqlite3_bind_int(upsert, 3, std::get<int>(value));
            }
            rc = sqlite3_step(upsert);
            if (rc != SQLITE_DONE) break;
            rc = SQLITE_OK;
        }
        sqlite3_reset(upsert);
        if (rc == SQLITE_OK) rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) {
        _checkpointer->nudge();
        return rc;
    }
    why = sqlite3_errmsg(db);
    if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return rc;
}

} // namespace cocos2d
