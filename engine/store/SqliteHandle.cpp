#include "engine/store/SqliteHandle.h"

#include <sqlite3.h>

namespace cocos2d {

void SqliteClose::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

void SqliteFinalize::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

} // namespace cocos2d
