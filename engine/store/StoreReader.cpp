#include "engine/store/StoreReader.h"

#include <sqlite3.h>

#include <cctype>
#include <filesystem>
#include <limits>
#include <system_error>

namespace fs = std::filesystem;

namespace cocos2d {

namespace {

bool equalsNoCase(const unsigned char* text, const char* expected) {
    if (!text) return false;
    for (; *text && *expected; ++text, ++expected)
        if (std::tolower(*text) != std::tolower(static_cast<unsigned char>(*expected))) return false;
    return *text == 0 && *expected == 0;
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

} // namespace

bool StoreReader::isBusy(int code) {
    return (code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED;
}

bool StoreReader::isBadContent(int code) {
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

int StoreReader::loadRows(sqlite3* db, Rows& rows, std::string& why) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT rowid, key, type, value FROM kv", -1, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        why = sqlite3_errmsg(db);
        return rc;
    }
    std::map<std::string, Value> good;
    std::vector<std::pair<long long, std::string>> refused;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        // The types first: reading a column as text or a number converts it.
        const bool shaped = sqlite3_column_type(stmt, 1) == SQLITE_TEXT &&
                            sqlite3_column_type(stmt, 2) == SQLITE_INTEGER &&
                            sqlite3_column_type(stmt, 3) == SQLITE_INTEGER;
        const auto* key = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
        const std::string name(key ? key : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, 1)));
        const sqlite3_int64 type = sqlite3_column_int64(stmt, 2);
        const sqlite3_int64 value = sqlite3_column_int64(stmt, 3);
        const bool usable = shaped && (type == kTypeInt || type == kTypeBool) &&
                            value >= std::numeric_limits<int>::min() &&
                            value <= std::numeric_limits<int>::max();
        if (!usable)
            refused.emplace_back(sqlite3_column_int64(stmt, 0), name);
        else if (type == kTypeBool)
            good[name] = value != 0;
        else
            good[name] = static_cast<int>(value);
    }
    if (rc != SQLITE_DONE) {
        why = sqlite3_errmsg(db);
        sqlite3_finalize(stmt);
        return rc;
    }
    sqlite3_finalize(stmt);
    rows.values.swap(good);
    rows.bad.swap(refused);
    return SQLITE_OK;
}

int StoreReader::checkShape(sqlite3* db, bool& hasTable, std::string& why) {
    hasTable = false;
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA table_info(kv)", -1, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        why = sqlite3_errmsg(db);
        return rc;
    }
    int columns = 0;
    int ours = 0;
    bool matches = true;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        ++columns;
        const unsigned char* name = sqlite3_column_text(stmt, 1);
        const unsigned char* type = sqlite3_column_text(stmt, 2);
        const bool required = sqlite3_column_int(stmt, 3) != 0;
        const bool hasDefault = sqlite3_column_type(stmt, 4) != SQLITE_NULL;
        const int pk = sqlite3_column_int(stmt, 5);
        if (equalsNoCase(name, "key")) {
            matches = matches && equalsNoCase(type, "TEXT") && pk == 1;
            ++ours;
        } else if (equalsNoCase(name, "type") || equalsNoCase(name, "value")) {
            matches = matches && equalsNoCase(type, "INTEGER") && pk == 0;
            ++ours;
        } else {
            // A later version's column is kept as it is, as long as new rows can leave it out.
            matches = matches && pk == 0 && (!required || hasDefault);
        }
    }
    if (rc != SQLITE_DONE) {
        why = sqlite3_errmsg(db);
        sqlite3_finalize(stmt);
        return rc;
    }
    sqlite3_finalize(stmt);
    if (columns > 0) {
        if (ours != 3 || !matches) {
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

int StoreReader::quickCheck(sqlite3* db, std::string& why) {
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

int StoreReader::judge(const std::string& path, bool& hasTable, std::string& why) {
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        // Closing leaves the WAL to the game's own connection.
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        sqlite3_busy_timeout(db, 100);
        Rows rows;
        rc = quickCheck(db, why);
        if (rc == SQLITE_OK) rc = checkShape(db, hasTable, why);
        if (rc == SQLITE_OK && hasTable) rc = loadRows(db, rows, why);
    }
    sqlite3_close_v2(db);
    return rc;
}

bool StoreReader::loadReadOnly(const std::string& path, Rows& rows) {
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    if (ec) return false;
    if (!exists) return true;
    if (!fs::is_regular_file(path, ec)) return false;
    int rc = SQLITE_OK;
    const auto attempt = [&](const std::string& name, int flags) {
        sqlite3* db = nullptr;
        rc = sqlite3_open_v2(name.c_str(), &db, flags, nullptr);
        if (rc == SQLITE_OK) {
            std::string why;
            rc = loadRows(db, rows, why);
        }
        sqlite3_close_v2(db);
        return rc == SQLITE_OK;
    };
    if (attempt(path, SQLITE_OPEN_READONLY)) return true;
    // A file another program is writing must wait: read as immutable it could be half written.
    if (isBusy(rc)) return false;
    // A write-protected folder leaves no room for the WAL index; without a leftover WAL the
    // file alone is the whole truth, so it can be read as immutable.
    if (fs::exists(path + "-wal", ec)) return false;
    return attempt("file:" + uriEscape(path) + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
}

} // namespace cocos2d
