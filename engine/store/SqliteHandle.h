#pragma once
// SQLite's connection and statement handles, each released by its owner however a function
// leaves.
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace cocos2d {

struct SqliteClose {
    void operator()(sqlite3* db) const;
};
struct SqliteFinalize {
    void operator()(sqlite3_stmt* statement) const;
};

using SqliteDb = std::unique_ptr<sqlite3, SqliteClose>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteFinalize>;

} // namespace cocos2d
