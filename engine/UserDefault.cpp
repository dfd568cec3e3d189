#include "UserDefault.h"

#include "Log.h"

#include <sqlite3.h>

#include <cctype>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <limits>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace cocos2d {

namespace {

// How a value's kind is stored in the "type" column.
constexpr int kTypeInt = 0;
constexpr int kTypeBool = 1;

// Keep a stuck writer from freezing the frame for long.
constexpr int kBusyTimeoutMs = 500;

UserDefault* g_instance = nullptr;
sqlite3_stmt* g_insert = nullptr;
// Why the last openAt() failed, and whether the file itself is to blame.
struct OpenFailure {
    std::string reason;
    bool badFile = false;
};
OpenFailure g_openFailure;
// Flush failures already reported this session, by SQLite result code.
std::set<int> g_loggedFlushFailures;

std::string dataFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return std::string(xdg) + "/doviveduzuz";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/doviveduzuz";
    return {};
}

bool isBadContentCode(int code) {
    switch (code & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
    case SQLITE_MISMATCH:
    case SQLITE_ERROR: // e.g. a kv table without our columns
        return true;
    default:
        return false;
    }
}

bool equalsNoCase(const unsigned char* text, const char* expected) {
    if (!text) return false;
    for (; *text && *expected; ++text, ++expected)
        if (std::tolower(*text) != std::tolower(static_cast<unsigned char>(*expected))) return false;
    return *text == 0 && *expected == 0;
}

// Fills `out` from the kv table, refusing rows that this game could not have written.
int loadRows(sqlite3* db, std::map<std::string, UserDefault::Value>& out, std::string& why) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT key, type, value FROM kv", -1, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        why = sqlite3_errmsg(db);
        return rc;
    }
    std::map<std::string, UserDefault::Value> rows;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const bool shaped = sqlite3_column_type(stmt, 0) == SQLITE_TEXT &&
                            sqlite3_column_type(stmt, 1) == SQLITE_INTEGER &&
                            sqlite3_column_type(stmt, 2) == SQLITE_INTEGER;
        const sqlite3_int64 type = sqlite3_column_int64(stmt, 1);
        const sqlite3_int64 value = sqlite3_column_int64(stmt, 2);
        if (!shaped || (type != kTypeInt && type != kTypeBool) || value < std::numeric_limits<int>::min() ||
            value > std::numeric_limits<int>::max()) {
            sqlite3_finalize(stmt);
            why = "a row of the wrong type";
            return SQLITE_MISMATCH;
        }
        const auto* key = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        const std::string name(key, static_cast<std::size_t>(sqlite3_column_bytes(stmt, 0)));
        if (type == kTypeBool)
            rows[name] = value != 0;
        else
            rows[name] = static_cast<int>(value);
    }
    if (rc != SQLITE_DONE) {
        why = sqlite3_errmsg(db);
        sqlite3_finalize(stmt);
        return rc;
    }
    sqlite3_finalize(stmt);
    out.swap(rows);
    return SQLITE_OK;
}

// SQLITE_OK when the file holds no tables yet or a kv table of our shape.
int checkShape(sqlite3* db, bool& hasTable, std::string& why) {
    hasTable = false;
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA table_info(kv)", -1, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        why = sqlite3_errmsg(db);
        return rc;
    }
    int columns = 0;
    bool matches = true;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        ++columns;
        const unsigned char* name = sqlite3_column_text(stmt, 1);
        const unsigned char* type = sqlite3_column_text(stmt, 2);
        const int pk = sqlite3_column_int(stmt, 5);
        if (equalsNoCase(name, "key"))
            matches = matches && equalsNoCase(type, "TEXT") && pk == 1;
        else if (equalsNoCase(name, "type") || equalsNoCase(name, "value"))
            matches = matches && equalsNoCase(type, "INTEGER") && pk == 0;
        else
            matches = false;
    }
    if (rc != SQLITE_DONE) {
        why = sqlite3_errmsg(db);
        sqlite3_finalize(stmt);
        return rc;
    }
    sqlite3_finalize(stmt);
    if (columns > 0) {
        if (columns != 3 || !matches) {
            why = "a kv table of another shape";
            return SQLITE_MISMATCH;
        }
        hasTable = true;
        return SQLITE_OK;
    }

    // No kv table: only an empty database is ours to fill; anything else belongs to someone else.
    rc = sqlite3_prepare_v2(db,
                            "SELECT count(*) FROM sqlite_master WHERE name NOT LIKE 'sqlite\\_%' ESCAPE '\\'",
                            -1, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        why = sqlite3_errmsg(db);
        return rc;
    }
    rc = sqlite3_step(stmt);
    const int others = rc == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : 0;
    if (rc != SQLITE_ROW) why = sqlite3_errmsg(db);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW) return rc;
    if (others > 0) {
        why = "another program's database";
        return SQLITE_MISMATCH;
    }
    return SQLITE_OK;
}

int quickCheck(sqlite3* db, std::string& why) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        why = sqlite3_errmsg(db);
        return rc;
    }
    rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        const unsigned char* verdict = sqlite3_column_text(stmt, 0);
        if (equalsNoCase(verdict, "ok")) {
            rc = SQLITE_OK;
        } else {
            why = verdict ? reinterpret_cast<const char*>(verdict) : "integrity check failed";
            rc = SQLITE_CORRUPT;
        }
    } else {
        why = sqlite3_errmsg(db);
    }
    sqlite3_finalize(stmt);
    return rc;
}

std::string uriEscape(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '.' || c == '-' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

// When the store cannot be written, what was saved before is still worth showing.
void loadReadOnly(const std::string& path, std::map<std::string, UserDefault::Value>& out) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return;
    const auto attempt = [&](const std::string& name, int flags) {
        sqlite3* db = nullptr;
        bool loaded = false;
        if (sqlite3_open_v2(name.c_str(), &db, flags, nullptr) == SQLITE_OK) {
            std::string why;
            loaded = loadRows(db, out, why) == SQLITE_OK;
        }
        sqlite3_close_v2(db);
        return loaded;
    };
    if (attempt(path, SQLITE_OPEN_READONLY)) return;
    // A write-protected folder leaves no room for the WAL index; without a leftover WAL the
    // file alone is the whole truth, so it can be read as immutable.
    if (fs::exists(path + "-wal", ec)) return;
    attempt("file:" + uriEscape(path) + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
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
    g_instance->flush();
    delete g_instance;
    g_instance = nullptr;
}

std::string UserDefault::storePath() {
    const std::string folder = dataFolder();
    if (folder.empty()) return {};
    return folder + "/UserDefault.db";
}

UserDefault::UserDefault() {
    g_loggedFlushFailures.clear();
    open();
}

UserDefault::~UserDefault() {
    if (g_insert) sqlite3_finalize(g_insert);
    g_insert = nullptr;
    if (_db) sqlite3_close_v2(_db);
    _db = nullptr;
}

void UserDefault::open() {
    const std::string path = storePath();
    if (path.empty()) {
        log("no home folder (neither XDG_DATA_HOME nor HOME is set): progress will not be saved");
        return;
    }
    std::error_code ec;
    const fs::path folder = fs::path(path).parent_path();
    fs::create_directories(folder, ec);
    if (ec && !fs::is_directory(folder)) {
        log("cannot create %s (%s): progress will not be saved", folder.c_str(), ec.message().c_str());
        return;
    }

    // A folder (or anything else that is not a file) in the store's place can never be opened.
    const fs::file_status status = fs::symlink_status(path, ec);
    const bool occupied = fs::exists(status) && !fs::is_regular_file(status) && !fs::is_symlink(status);
    if (occupied) {
        moveAside(path, "not a file");
    } else {
        if (openAt(path)) return;
        if (!g_openFailure.badFile) {
            loadReadOnly(path, _values);
            log("cannot write %s (%s): progress will not be saved", path.c_str(),
                g_openFailure.reason.c_str());
            return;
        }
        moveAside(path, g_openFailure.reason.c_str());
    }
    // moveAside has said what happened; if the file is still there it has also said we play on in memory.
    if (fs::exists(fs::symlink_status(path, ec))) return;
    if (openAt(path)) return;
    log("cannot create %s (%s): progress will not be saved", path.c_str(), g_openFailure.reason.c_str());
}

bool UserDefault::openAt(const std::string& path) {
    sqlite3* db = nullptr;
    std::string why;
    const auto fail = [&](int rc) {
        g_openFailure.reason = why.empty() ? sqlite3_errstr(rc) : why;
        g_openFailure.badFile = isBadContentCode(rc);
        if (g_insert) sqlite3_finalize(g_insert);
        g_insert = nullptr;
        sqlite3_close_v2(db);
        return false;
    };

    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        why = db ? sqlite3_errmsg(db) : "";
        return fail(rc);
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // Closing normally checkpoints and deletes a WAL beside the file; while the file is on trial
    // its WAL must stay as found, in case both end up moved aside.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);

    // Everything that can find the file unusable runs before anything writes to it, so a
    // file moved aside is exactly what was found.
    bool hasTable = false;
    std::map<std::string, Value> loaded;
    if ((rc = quickCheck(db, why)) != SQLITE_OK) return fail(rc);
    if ((rc = checkShape(db, hasTable, why)) != SQLITE_OK) return fail(rc);
    if (hasTable && (rc = loadRows(db, loaded, why)) != SQLITE_OK) return fail(rc);
    // SQLite quietly opens a write-protected file read-only; that is no place to save.
    if (sqlite3_db_readonly(db, "main") == 1) {
        why = "the file is read-only";
        return fail(SQLITE_READONLY);
    }
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
                            SQLITE_PREPARE_PERSISTENT, &g_insert, nullptr);
    if (rc != SQLITE_OK) {
        why = sqlite3_errmsg(db);
        return fail(SQLITE_CANTOPEN);
    }
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
    _db = db;
    _values.swap(loaded);
    return true;
}

void UserDefault::moveAside(const std::string& path, const char* why) {
    const std::string stamp = path + ".bad-" + std::to_string(static_cast<long long>(std::time(nullptr)));
    std::string target = stamp;
    std::error_code ec;
    for (int n = 1; fs::exists(fs::symlink_status(target, ec)); ++n)
        target = stamp + "-" + std::to_string(n);

    fs::rename(path, target, ec);
    if (ec) {
        log("saved progress at %s is unusable (%s) and could not be moved aside (%s): progress will not be "
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
    log("saved progress at %s was unusable (%s); moved it to %s and started afresh", path.c_str(), why,
        target.c_str());
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
    if (_pending.empty()) return;
    if (!_db || !g_insert) {
        _pending.clear();
        return;
    }

    int rc = sqlite3_exec(_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        for (const auto& [key, value] : _pending) {
            sqlite3_reset(g_insert);
            sqlite3_bind_text(g_insert, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
            if (const bool* flag = std::get_if<bool>(&value)) {
                sqlite3_bind_int(g_insert, 2, kTypeBool);
                sqlite3_bind_int(g_insert, 3, *flag ? 1 : 0);
            } else {
                sqlite3_bind_int(g_insert, 2, kTypeInt);
                sqlite3_bind_int(g_insert, 3, std::get<int>(value));
            }
            rc = sqlite3_step(g_insert);
            if (rc != SQLITE_DONE) break;
            rc = SQLITE_OK;
        }
        sqlite3_reset(g_insert);
        if (rc == SQLITE_OK) rc = sqlite3_exec(_db, "COMMIT", nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) {
        _pending.clear();
        return;
    }

    // Keep the frame's values pending and try again next frame; say so once per kind of trouble.
    const std::string why = sqlite3_errmsg(_db);
    if (!sqlite3_get_autocommit(_db)) sqlite3_exec(_db, "ROLLBACK", nullptr, nullptr, nullptr);
    if (g_loggedFlushFailures.insert(rc & 0xff).second)
        log("could not save progress to %s (%s); will keep trying", storePath().c_str(), why.c_str());
}

} // namespace cocos2d
