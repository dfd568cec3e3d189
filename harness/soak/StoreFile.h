#pragma once
// The game's saved progress read and written from outside the game, through a connection of
// the caller's own: for checks after a crash and for stores "left by an earlier run".
#include <sqlite3.h>

#include <map>
#include <string>
#include <utility>

struct StoreFile {
    // False when the file could not be opened or read at all.
    bool readable = false;
    // What PRAGMA integrity_check said ("ok" for a sound file).
    std::string integrity;
    // key -> (type column, value column).
    std::map<std::string, std::pair<long long, long long>> rows;

    long long value(const std::string& key) const {
        const auto it = rows.find(key);
        return it == rows.end() ? 0 : it->second.second;
    }
    // A flag reads true only when stored as a flag (type 1) with a non-zero value.
    bool flag(const std::string& key) const {
        const auto it = rows.find(key);
        return it != rows.end() && it->second.first == 1 && it->second.second != 0;
    }

    // Where the game keeps its store under a data home (what XDG_DATA_HOME names).
    static std::string folderIn(const std::string& dataHome) { return dataHome + "/doviveduzuz"; }
    static std::string pathIn(const std::string& dataHome) { return folderIn(dataHome) + "/UserDefault.db"; }

    // Opens read-only, so the check itself neither checkpoints nor removes a WAL it finds.
    static StoreFile read(const std::string& path) {
        StoreFile store;
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close_v2(db);
            return store;
        }
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK) {
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
                store.integrity += store.integrity.empty() ? "" : "; ";
                store.integrity += text ? text : "";
            }
        }
        sqlite3_finalize(stmt);
        stmt = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT key, type, value FROM kv", -1, &stmt, nullptr) == SQLITE_OK) {
            int rc = SQLITE_ROW;
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
                const auto* key = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
                store.rows[key ? key : ""] = {sqlite3_column_int64(stmt, 1), sqlite3_column_int64(stmt, 2)};
            }
            store.readable = rc == SQLITE_DONE;
        }
        sqlite3_finalize(stmt);
        sqlite3_close_v2(db);
        return store;
    }

    // Writes a store in the game's own table shape: ints as type 0, flags as type 1.
    static bool write(const std::string& path, const std::map<std::string, int>& ints,
                      const std::map<std::string, bool>& flags = {}) {
        sqlite3* db = nullptr;
        bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
                  sqlite3_exec(
                      db,
                      "CREATE TABLE IF NOT EXISTS kv(key TEXT PRIMARY KEY NOT NULL, type INTEGER NOT NULL, "
                      "value INTEGER NOT NULL)",
                      nullptr, nullptr, nullptr) == SQLITE_OK;
        const auto put = [&](const std::string& key, int type, int value) {
            const std::string sql = "INSERT OR REPLACE INTO kv VALUES('" + key + "', " +
                                    std::to_string(type) + ", " + std::to_string(value) + ")";
            ok = ok && sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
        };
        ok = ok && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
        for (const auto& [key, value] : ints)
            put(key, 0, value);
        for (const auto& [key, value] : flags)
            put(key, 1, value ? 1 : 0);
        ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close_v2(db);
        return ok;
    }
};
