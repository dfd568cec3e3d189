#pragma once
// Reading the saved store's SQLite file and judging it before anything is written to it: a
// quick integrity check, the shape of its one table, and its rows, keeping apart those this
// game could not have written; and reading it read-only where it cannot be written.
#include <map>
#include <string>
#include <utility>
#include <variant>
#include <vector>

struct sqlite3;

namespace cocos2d {

class StoreReader {
  public:
    using Value = std::variant<int, bool>;
    // How a value's kind is stored in the "type" column.
    static constexpr int kTypeInt = 0;
    static constexpr int kTypeBool = 1;

    struct Rows {
        std::map<std::string, Value> values;
        // Rows holding a value outside the int range or of another type: row id and key.
        std::vector<std::pair<long long, std::string>> bad;
        // The file's content is known (read, or there is no file).
        bool read = false;
    };

    // Each returns an SQLite result code, with `why` in words when it is not SQLITE_OK.
    static int quickCheck(sqlite3* db, std::string& why);
    // SQLITE_OK when the file holds no tables yet or a kv table with our columns (and maybe more).
    static int checkShape(sqlite3* db, bool& hasTable, std::string& why);
    static int loadRows(sqlite3* db, Rows& rows, std::string& why);
    // The file at `path` read afresh, as the next start would read it, beside the game's own
    // connection: its integrity, its shape and its rows.
    static int judge(const std::string& path, bool& hasTable, std::string& why);
    // The file read without writing anything, even its WAL index; true when its content is
    // known (read, or there is no file).
    static bool loadReadOnly(const std::string& path, Rows& rows);

    // The file itself is to blame, not where it lives.
    static bool isBadContent(int code);
    // Another connection holds the file.
    static bool isBusy(int code);
};

} // namespace cocos2d
