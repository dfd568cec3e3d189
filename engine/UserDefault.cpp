#include "UserDefault.h"

#include "AppIdentity.h"
#include "Log.h"
#include "PlayerTexts.h"
#include "StoreReader.h"
#include "StoreSync.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace cocos2d {

namespace {

// After a failure to open or to write: soon enough that a disk freed or a folder made
// writable is used within moments, seldom enough to cost nothing meanwhile.
constexpr float kRetrySeconds = 2;
// Another program holding the file is usually done with it soon.
constexpr float kBusyRetrySeconds = 0.25f;
// Commits failing for longer than this are worth a word on screen.
constexpr float kNoticeAfterSeconds = 1;

UserDefault* g_instance = nullptr;

std::string dataFolder() {
    // A relative XDG_DATA_HOME is to be ignored: the save must not depend on the working folder.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
        return std::string(xdg) + "/" + AppIdentity::get().name;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/" + AppIdentity::get().name;
    return {};
}

// A free name beside the store for a file kept aside.
std::string asideName(const std::string& path) {
    const std::string stamp = path + ".bad-" + std::to_string(static_cast<long long>(std::time(nullptr)));
    std::string target = stamp;
    std::error_code ec;
    for (int n = 1; fs::exists(fs::symlink_status(target, ec)); ++n)
        target = stamp + "-" + std::to_string(n);
    return target;
}

std::string describe(const UserDefault::Value& value) {
    if (const bool* flag = std::get_if<bool>(&value)) return *flag ? "true" : "false";
    return std::to_string(std::get<int>(value));
}

bool execute(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

} // namespace

UserDefault* UserDefault::getInstance() {
    if (!g_instance) g_instance = new UserDefault;
    return g_instance;
}

void UserDefault::destroyInstance() {
    if (!g_instance) return;
    // One last try: a disk freed a moment ago still takes the session's progress.
    if (!g_instance->_db && g_instance->_hasPlace) {
        Rows found;
        if (!g_instance->open(found) && g_instance->_unread && found.read) g_instance->adopt(found);
    }
    g_instance->flush();
    g_instance->reportUnsaved();
    delete g_instance;
    g_instance = nullptr;
}

std::string UserDefault::storeFolder() {
    return dataFolder();
}

std::string UserDefault::storePath() {
    const std::string folder = dataFolder();
    if (folder.empty()) return {};
    return folder + "/UserDefault.db";
}

UserDefault::UserDefault() {
    Rows found;
    if (open(found)) return;
    if (found.read)
        _values = std::move(found.values);
    else
        _unread = true;
    _retryIn = kRetrySeconds;
    // A file that could not be moved aside has been reported already.
    if (_reportedOpen) return;
    _reportedOpen = true;
    if (!_hasPlace)
        warn("%s: progress will not be saved", _openFailure.c_str());
    else if (_unread)
        warn("%s: playing on defaults, and progress will not be saved until the file has been read; "
             "trying again every few seconds",
             _openFailure.c_str());
    else
        warn("%s: progress will not be saved until it can be; trying again every few seconds",
             _openFailure.c_str());
}

UserDefault::~UserDefault() {
    closeDb();
}

void UserDefault::closeDb() {
    if (_insert) sqlite3_finalize(_insert);
    _insert = nullptr;
    if (_db) sqlite3_close_v2(_db);
    _db = nullptr;
}

bool UserDefault::open(Rows& found) {
    const std::string path = storePath();
    if (path.empty()) {
        _hasPlace = false;
        _openFailure = "no home folder (neither XDG_DATA_HOME nor HOME is set)";
        found.read = true;
        return false;
    }
    if (!StoreSync::kept()) {
        _hasPlace = false;
        _openFailure = "the browser keeps nothing for this page (private window or no space)";
        found.read = true;
        return false;
    }
    std::error_code made, ec;
    const fs::path folder = fs::path(path).parent_path();
    fs::create_directories(folder, made);
    if (made && !fs::is_directory(folder, ec)) {
        _openFailure = "cannot create " + folder.string() + " (" + made.message() + ")";
        // Where the folder cannot be, no saved file can be either, unless the way to it is
        // closed to us and it may be there after all.
        std::error_code look;
        (void)fs::status(folder, look);
        found.read =
            !look || look == std::errc::no_such_file_or_directory || look == std::errc::not_a_directory;
        return false;
    }

    // A folder (or anything else that is not a file) in the store's place can never be opened.
    const fs::file_status status = fs::symlink_status(path, ec);
    const bool occupied = fs::exists(status) && !fs::is_regular_file(status) && !fs::is_symlink(status);
    if (!occupied) {
        Rows rows;
        if (openAt(path, rows)) {
            adopt(rows);
            return true;
        }
        if (!_badFile) {
            if (rows.read)
                found = std::move(rows);
            else
                found.read = StoreReader::loadReadOnly(path, found);
            _openFailure =
                std::string(found.read ? "cannot write " : "cannot read ") + path + " (" + _openFailure + ")";
            return false;
        }
    }
    moveAside(path, occupied ? "not a file" : _openFailure.c_str());
    // What was there is kept aside: nothing of it is left to be written over.
    found.read = true;
    if (fs::exists(fs::symlink_status(path, ec))) {
        // moveAside has said so; nothing will change that by itself.
        _hasPlace = false;
        _reportedOpen = true;
        _openFailure = "cannot move " + path + " aside";
        return false;
    }
    _unread = false;
    Rows fresh;
    if (openAt(path, fresh)) {
        adopt(fresh);
        return true;
    }
    _openFailure = "cannot create " + path + " (" + _openFailure + ")";
    return false;
}

bool UserDefault::openAt(const std::string& path, Rows& rows) {
    sqlite3* db = nullptr;
    std::string why;
    const auto fail = [&](int rc) {
        _openFailure = why.empty() ? sqlite3_errstr(rc) : why;
        _badFile = StoreReader::isBadContent(rc);
        _openBusy = StoreReader::isBusy(rc);
        if (_insert) sqlite3_finalize(_insert);
        _insert = nullptr;
        sqlite3_close_v2(db);
        return false;
    };
    _badFile = false;
    _openBusy = false;

    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        why = db ? sqlite3_errmsg(db) : "";
        return fail(rc);
    }
    // No frame waits on another program: a busy file is tried again on a later frame.
    sqlite3_busy_timeout(db, 0);
    // Closing normally checkpoints and deletes a WAL beside the file; while the file is on trial
    // its WAL must stay as found, in case both end up moved aside.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);

    // Everything that can find the file unusable runs before anything writes to it, so a
    // file moved aside is exactly what was found.
    bool hasTable = false;
    if ((rc = StoreReader::quickCheck(db, why)) != SQLITE_OK) return fail(rc);
    if ((rc = StoreReader::checkShape(db, hasTable, why)) != SQLITE_OK) return fail(rc);
    if (hasTable && (rc = StoreReader::loadRows(db, rows, why)) != SQLITE_OK) return fail(rc);
    rows.read = true;
    // SQLite quietly opens a write-protected file read-only; that is no place to save.
    if (sqlite3_db_readonly(db, "main") == 1) {
        why = "the file is read-only";
        return fail(SQLITE_READONLY);
    }
    if (!rows.bad.empty() && !_badRowsCopied) _badRowsCopied = setAsideBadRows(path, rows);
    // WAL plus FULL sync: a commit is on disk once flush() returns.
    if (!execute(db, "PRAGMA journal_mode=WAL") || !execute(db, "PRAGMA synchronous=FULL") ||
        !execute(db, "CREATE TABLE IF NOT EXISTS kv(key TEXT PRIMARY KEY NOT NULL, type INTEGER NOT NULL, "
                     "value INTEGER NOT NULL)")) {
        rc = sqlite3_errcode(db);
        why = sqlite3_errmsg(db);
        // The file read fine, so unless SQLite now calls it damaged, failing to write is about
        // where it lives, not about what it holds.
        const int primary = rc & 0xff;
        if (primary != SQLITE_CORRUPT && primary != SQLITE_NOTADB) rc = SQLITE_CANTOPEN;
        return fail(rc);
    }
    rc = sqlite3_prepare_v3(db, "INSERT OR REPLACE INTO kv(key, type, value) VALUES(?1, ?2, ?3)", -1,
                            SQLITE_PREPARE_PERSISTENT, &_insert, nullptr);
    if (rc != SQLITE_OK) {
        why = sqlite3_errmsg(db);
        return fail(SQLITE_CANTOPEN);
    }
    // The rows set aside go from the store; kept, they would be reported at every start.
    if (!rows.bad.empty() && *_badRowsCopied && execute(db, "BEGIN IMMEDIATE")) {
        bool removed = true;
        for (const auto& [rowid, key] : rows.bad)
            removed =
                removed && execute(db, ("DELETE FROM kv WHERE rowid = " + std::to_string(rowid)).c_str());
        execute(db, removed ? "COMMIT" : "ROLLBACK");
    }
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    _db = db;
    return true;
}

void UserDefault::adopt(Rows& rows) {
    if (_unread) {
        // Played on defaults until now: the saved progress wins, and what was set meanwhile,
        // made without it, is not written over it.
        if (!_pending.empty())
            warn("read the saved progress at %s at last; what changed before that is not saved",
                 storePath().c_str());
        _pending.clear();
        _values = std::move(rows.values);
        _unread = false;
        return;
    }
    for (const auto& [key, value] : _pending)
        rows.values[key] = value;
    _values = std::move(rows.values);
}

void UserDefault::moveAside(const std::string& path, const char* why) {
    const std::string target = asideName(path);
    std::error_code ec;
    fs::rename(path, target, ec);
    if (ec) {
        warn("saved progress at %s is unusable (%s) and could not be moved aside (%s): progress will not be "
             "saved",
             path.c_str(), why, ec.message().c_str());
        return;
    }
    // A stale WAL beside a fresh store would be replayed into it, so the companions go too.
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        std::error_code companion;
        if (fs::exists(fs::symlink_status(path + suffix, companion)))
            fs::rename(path + suffix, target + suffix, companion);
    }
    warn("saved progress at %s was unusable (%s); moved it to %s and started afresh", path.c_str(), why,
         target.c_str());
}

bool UserDefault::setAsideBadRows(const std::string& path, const Rows& rows) {
    std::string keys;
    for (const auto& [rowid, key] : rows.bad)
        keys += (keys.empty() ? "\"" : ", \"") + key + "\"";
    // The file as found is kept beside the store, its WAL with it, before anything is written.
    const std::string target = asideName(path);
    std::error_code ec;
    fs::copy_file(path, target, ec);
    if (!ec && fs::exists(path + "-wal")) fs::copy_file(path + "-wal", target + "-wal", ec);
    if (ec) {
        warn(
            "saved progress at %s holds values this game cannot use (%s); they read as 0, and no copy of the "
            "file could be kept (%s)",
            path.c_str(), keys.c_str(), ec.message().c_str());
        return false;
    }
    warn("saved progress at %s held values this game cannot use (%s); reset them alone, kept the rest, and "
         "kept a copy of the file at %s",
         path.c_str(), keys.c_str(), target.c_str());
    return true;
}

int UserDefault::getIntegerForKey(const char* key) {
    return getIntegerForKey(key, 0);
}

int UserDefault::getIntegerForKey(const char* key, int defaultValue) {
    if (!key) return defaultValue;
    const auto it = _values.find(key);
    if (it == _values.end()) return defaultValue;
    if (const bool* flag = std::get_if<bool>(&it->second)) return *flag ? 1 : 0;
    return std::get<int>(it->second);
}

void UserDefault::setIntegerForKey(const char* key, int value) {
    if (!key) return;
    auto [it, inserted] = _values.try_emplace(key, value);
    // Games re-set the same values every frame; only a real change needs a write.
    if (!inserted && it->second == Value(value)) return;
    it->second = value;
    _pending[key] = value;
}

bool UserDefault::getBoolForKey(const char* key) {
    return getBoolForKey(key, false);
}

bool UserDefault::getBoolForKey(const char* key, bool defaultValue) {
    if (!key) return defaultValue;
    const auto it = _values.find(key);
    if (it == _values.end()) return defaultValue;
    if (const int* number = std::get_if<int>(&it->second)) return *number != 0;
    return std::get<bool>(it->second);
}

void UserDefault::setBoolForKey(const char* key, bool value) {
    if (!key) return;
    auto [it, inserted] = _values.try_emplace(key, value);
    if (!inserted && it->second == Value(value)) return;
    it->second = value;
    _pending[key] = value;
}

void UserDefault::flush() {
    if (_pending.empty() || !_db) return;
    if (commit()) {
        _failing = false;
        _failingFor = 0;
        return;
    }
    _failing = true;
}

bool UserDefault::commit() {
    int rc = sqlite3_exec(_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        for (const auto& [key, value] : _pending) {
            sqlite3_reset(_insert);
            sqlite3_bind_text(_insert, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
            if (const bool* flag = std::get_if<bool>(&value)) {
                sqlite3_bind_int(_insert, 2, StoreReader::kTypeBool);
                sqlite3_bind_int(_insert, 3, *flag ? 1 : 0);
            } else {
                sqlite3_bind_int(_insert, 2, StoreReader::kTypeInt);
                sqlite3_bind_int(_insert, 3, std::get<int>(value));
            }
            rc = sqlite3_step(_insert);
            if (rc != SQLITE_DONE) break;
            rc = SQLITE_OK;
        }
        sqlite3_reset(_insert);
        if (rc == SQLITE_OK) rc = sqlite3_exec(_db, "COMMIT", nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) {
        _pending.clear();
        StoreSync::committed();
        if (!_reportedCommits.empty()) warn("saved progress to %s after all", storePath().c_str());
        _reportedCommits.clear();
        return true;
    }

    // Keep the frame's values pending and try again; say so once per kind of trouble.
    const std::string why = sqlite3_errmsg(_db);
    if (!sqlite3_get_autocommit(_db)) sqlite3_exec(_db, "ROLLBACK", nullptr, nullptr, nullptr);
    if (std::find(_reportedCommits.begin(), _reportedCommits.end(), rc & 0xff) == _reportedCommits.end()) {
        _reportedCommits.push_back(rc & 0xff);
        warn("could not save progress to %s (%s); will keep trying", storePath().c_str(), why.c_str());
    }
    _retryIn = StoreReader::isBusy(rc) ? 0 : kRetrySeconds;
    return false;
}

void UserDefault::endFrame(float seconds) {
    if (_retryIn > 0) _retryIn -= seconds;
    if (_failing) _failingFor += seconds;
    if (_retryIn > 0) return;
    if (!_db) {
        if (!_hasPlace) return;
        Rows found;
        if (!open(found)) {
            if (_unread && found.read) adopt(found);
            _retryIn = _openBusy ? kBusyRetrySeconds : kRetrySeconds;
            return;
        }
        if (_reportedOpen) warn("saving progress to %s from now on", storePath().c_str());
        _reportedOpen = false;
    }
    flush();
}

// Short: a note in a corner must leave the picture to the game.
std::string UserDefault::trouble() const {
    if (!_db && _unread) return PlayerTexts::get().saveNotRead;
    if (!_db || (_failing && _failingFor >= kNoticeAfterSeconds)) return PlayerTexts::get().notSaved;
    return {};
}

void UserDefault::reportUnsaved() const {
    if (_pending.empty()) return;
    std::string changes;
    for (const auto& [key, value] : _pending)
        changes += (changes.empty() ? "" : ", ") + key + "=" + describe(value);
    if (_unread)
        warn("the saved progress at %s was never read, so nothing of this session was saved: %s",
             storePath().c_str(), changes.c_str());
    else if (!_hasPlace)
        warn("progress not saved (%s): %s", _openFailure.c_str(), changes.c_str());
    else
        warn("progress not saved to %s: %s", storePath().c_str(), changes.c_str());
}

} // namespace cocos2d
