// The saved-progress store: defaults, restarts, frame commits, kills and damaged files.
#include "Log.h"
#include "UserDefault.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "TempDirs.h"
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using cocos2d::UserDefault;

namespace {

// Runs a query on the store through a connection of its own; rows as "a|b|c".
std::vector<std::string> query(const std::string& path, const char* sql) {
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        const auto collect = [](void* out, int n, char** values, char**) {
            std::string row;
            for (int i = 0; i < n; ++i) {
                if (i) row += '|';
                row += values[i] ? values[i] : "NULL";
            }
            static_cast<std::vector<std::string>*>(out)->push_back(row);
            return 0;
        };
        sqlite3_exec(db, sql, collect, &rows, nullptr);
    }
    sqlite3_close_v2(db);
    return rows;
}

std::string readFile(const std::string& path) {
    if (fs::is_directory(path)) return "<folder>";
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void makeDatabase(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

const std::string kSchema =
    "CREATE TABLE kv(key TEXT PRIMARY KEY NOT NULL, type INTEGER NOT NULL, value INTEGER NOT NULL);";

// Forks a child that runs `body` and then dies by SIGKILL, as a crash or a task killer would.
void killedChild(const std::function<void()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        body();
        raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(pid, waitpid(pid, &status, 0));
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
}

class StoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UserDefault::destroyInstance();
        char pattern[] = "/tmp/dovi_store_XXXXXX";
        ASSERT_NE(nullptr, TempDirs::keep(mkdtemp(pattern)));
        _root = pattern;
        for (auto& [name, value] : _savedEnv)
            if (const char* now = std::getenv(name)) value = now;
        setenv("XDG_DATA_HOME", (_root + "/data").c_str(), 1);
        cocos2d::setLogObserver([this](const std::string& line) { _logs.push_back(line); });
    }

    void TearDown() override {
        UserDefault::destroyInstance();
        cocos2d::setLogObserver({});
        for (const auto& [name, value] : _savedEnv)
            value ? setenv(name, value->c_str(), 1) : unsetenv(name);
        std::error_code ec;
        fs::remove_all(_root, ec);
    }

    std::string folder() const { return _root + "/data/doviveduzuz"; }
    std::string store() const { return folder() + "/UserDefault.db"; }
    static UserDefault* restart() {
        UserDefault::destroyInstance();
        return UserDefault::getInstance();
    }

    // Stores moved aside, without their companions.
    std::vector<std::string> movedAside() const {
        std::vector<std::string> found;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder(), ec)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("UserDefault.db.bad-", 0) == 0 && name.find("-wal") == std::string::npos &&
                name.find("-shm") == std::string::npos)
                found.push_back(entry.path().string());
        }
        return found;
    }

    std::string _root;
    std::pair<const char*, std::optional<std::string>> _savedEnv[2] = {{"HOME", {}}, {"XDG_DATA_HOME", {}}};
    std::vector<std::string> _logs;
};

TEST_F(StoreTest, FreshStoreReadsDefaultsWhereXdgSays) {
    UserDefault* ud = UserDefault::getInstance();
    EXPECT_TRUE(ud->isPersistent());
    EXPECT_EQ(store(), UserDefault::storePath());
    EXPECT_TRUE(fs::is_regular_file(store()));
    EXPECT_EQ(0, ud->getIntegerForKey("best"));
    EXPECT_EQ(7, ud->getIntegerForKey("best", 7));
    EXPECT_FALSE(ud->getBoolForKey("muted"));
    EXPECT_TRUE(ud->getBoolForKey("muted", true));
    EXPECT_TRUE(_logs.empty());

    setenv("XDG_DATA_HOME", "", 1);
    setenv("HOME", (_root + "/home").c_str(), 1);
    EXPECT_EQ(_root + "/home/.local/share/doviveduzuz/UserDefault.db", UserDefault::storePath());
    EXPECT_TRUE(restart()->isPersistent());
    EXPECT_TRUE(fs::is_regular_file(UserDefault::storePath()));
}

TEST_F(StoreTest, ValuesAndTheirKindsSurviveRestart) {
    UserDefault* ud = UserDefault::getInstance();
    ud->setIntegerForKey("best", 120);
    ud->setIntegerForKey("best", 340);
    ud->setIntegerForKey("debt", -5);
    ud->setBoolForKey("tutorial_done", true);
    ud->flush();
    ud->setBoolForKey("muted", false); // still pending: closing saves it

    ud = restart();
    EXPECT_EQ(340, ud->getIntegerForKey("best"));
    EXPECT_EQ(-5, ud->getIntegerForKey("debt"));
    EXPECT_TRUE(ud->getBoolForKey("tutorial_done"));
    EXPECT_FALSE(ud->getBoolForKey("muted", true));
    // Across kinds: a flag reads as 0/1, a number as a flag.
    EXPECT_EQ(1, ud->getIntegerForKey("tutorial_done"));
    EXPECT_EQ(0, ud->getIntegerForKey("muted", 9));
    EXPECT_TRUE(ud->getBoolForKey("debt"));
    EXPECT_TRUE(std::holds_alternative<bool>(ud->entries().at("tutorial_done")));
    EXPECT_EQ(4u, ud->entries().size());
}

TEST_F(StoreTest, FrameIsCommittedTogetherAndOnlyWhenChanged) {
    UserDefault* ud = UserDefault::getInstance();
    ud->setIntegerForKey("level", 4);
    ud->setIntegerForKey("stars", 11);
    ud->setBoolForKey("level4_open", true);
    EXPECT_EQ(4, ud->getIntegerForKey("level")); // from memory, before any commit
    EXPECT_TRUE(query(store(), "SELECT key FROM kv").empty());
    ud->flush();
    EXPECT_FALSE(ud->hasPendingWrites());
    EXPECT_EQ((std::vector<std::string>{"level|0|4", "level4_open|1|1", "stars|0|11"}),
              query(store(), "SELECT key, type, value FROM kv ORDER BY key"));

    ud->setIntegerForKey("level", 4); // games re-set the same values every frame
    ud->setBoolForKey("level4_open", true);
    EXPECT_FALSE(ud->hasPendingWrites());
    ud->setIntegerForKey("level4_open", 1); // a changed kind is a change
    EXPECT_TRUE(ud->hasPendingWrites());
}

TEST_F(StoreTest, FailedCommitStaysPendingAndIsReportedOnce) {
    UserDefault* ud = UserDefault::getInstance();
    // A second copy of the game holding the write lock.
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(store().c_str(), &other));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
    ud->setIntegerForKey("score", 2);
    ud->flush();
    ud->flush();
    EXPECT_TRUE(ud->hasPendingWrites());
    EXPECT_EQ(1u, _logs.size());
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    ud->flush();
    EXPECT_FALSE(ud->hasPendingWrites());
    EXPECT_EQ(std::vector<std::string>{"score|2"}, query(store(), "SELECT key, value FROM kv"));
}

TEST_F(StoreTest, AWriteRefusedMidFrameIsRolledBackAndLaterFramesSaveAgain) {
    UserDefault* ud = UserDefault::getInstance();
    ud->setIntegerForKey("coinScore", 1);
    ud->flush();
    // Another program's trigger refuses one value: the frame fails half-way through its rows.
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(store().c_str(), &other));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other,
                                      "CREATE TRIGGER refuse BEFORE INSERT ON kv WHEN NEW.value = 13 "
                                      "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                                      nullptr, nullptr, nullptr));
    ud->setIntegerForKey("a", 5);
    ud->setIntegerForKey("b", 13);
    ud->flush();
    EXPECT_TRUE(ud->hasPendingWrites());
    EXPECT_EQ(std::vector<std::string>{"coinScore|1"}, query(store(), "SELECT key, value FROM kv"));
    EXPECT_EQ(1u, _logs.size());

    ud->setIntegerForKey("b", 14);
    ud->flush();
    EXPECT_FALSE(ud->hasPendingWrites());
    sqlite3_close(other);
    EXPECT_EQ((std::vector<std::string>{"a|5", "b|14", "coinScore|1"}),
              query(store(), "SELECT key, value FROM kv ORDER BY key"));
}

TEST_F(StoreTest, AnOverwrittenFlagReadsBackItsNewValueAlsoAfterARestart) {
    UserDefault* ud = UserDefault::getInstance();
    for (const bool value : {true, false, true, false}) {
        ud->setBoolForKey("Button1", value);
        EXPECT_EQ(value, ud->getBoolForKey("Button1", !value));
        ud->flush();
        ud = restart();
        EXPECT_EQ(value, ud->getBoolForKey("Button1", !value));
    }
}

TEST_F(StoreTest, KillKeepsFlushedFramesAndLosesOnlyTheOneInProgress) {
    UserDefault::getInstance()->setIntegerForKey("gems", 1);
    UserDefault::destroyInstance(); // the child opens its own connection
    killedChild([] {
        UserDefault* ud = UserDefault::getInstance();
        ud->setIntegerForKey("gems", 2);
        ud->setBoolForKey("shield", true);
        ud->flush();
        ud->setIntegerForKey("gems", 3);
        ud->setBoolForKey("magnet", true);
    });

    UserDefault* ud = UserDefault::getInstance();
    EXPECT_EQ(2, ud->getIntegerForKey("gems"));
    EXPECT_TRUE(ud->getBoolForKey("shield"));
    EXPECT_FALSE(ud->getBoolForKey("magnet"));
    EXPECT_EQ(std::vector<std::string>{"ok"}, query(store(), "PRAGMA integrity_check"));
    EXPECT_TRUE(_logs.empty());
}

TEST_F(StoreTest, KillAtAnArbitraryMomentNeverSplitsAFrame) {
    int beats[2];
    ASSERT_EQ(0, pipe(beats));
    const pid_t pid = fork();
    if (pid == 0) {
        UserDefault* ud = UserDefault::getInstance();
        for (int frame = 1;; ++frame) {
            for (const char* key : {"a", "b", "c"})
                ud->setIntegerForKey(key, frame);
            ud->flush();
            if (write(beats[1], "f", 1) != 1) _exit(0);
        }
    }
    close(beats[1]);
    // Kill it after some frames, while it is busy with a later one.
    int frames = 0;
    for (char beat; frames < 25 && read(beats[0], &beat, 1) == 1;)
        ++frames;
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    close(beats[0]);
    ASSERT_EQ(25, frames);

    UserDefault* ud = UserDefault::getInstance();
    const int a = ud->getIntegerForKey("a");
    EXPECT_GE(a, 25);
    EXPECT_EQ(a, ud->getIntegerForKey("b"));
    EXPECT_EQ(a, ud->getIntegerForKey("c"));
    EXPECT_EQ(std::vector<std::string>{"ok"}, query(store(), "PRAGMA integrity_check"));
}

// Damaged or foreign stores: the game starts with defaults, the old file is kept aside
// as it was, and one line says where it went.
struct Damage {
    const char* name;
    std::function<void(const std::string& path)> make;
};
void PrintTo(const Damage& damage, std::ostream* out) {
    *out << damage.name;
}

class DamagedStoreTest : public StoreTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedStoreTest, StartsFreshAndKeepsTheOldFileAside) {
    fs::create_directories(folder());
    GetParam().make(store());
    const bool wasFolder = fs::is_directory(store());
    const std::string before = readFile(store());
    const bool hadWal = fs::exists(store() + "-wal");

    UserDefault* ud = UserDefault::getInstance();
    EXPECT_TRUE(ud->isPersistent());
    EXPECT_TRUE(ud->entries().empty());
    const auto aside = movedAside();
    ASSERT_EQ(1u, aside.size());
    EXPECT_EQ(wasFolder, fs::is_directory(aside[0]));
    EXPECT_TRUE(before == readFile(aside[0])) << "changed before it was moved";
    EXPECT_EQ(hadWal, fs::exists(aside[0] + "-wal")); // never replayed into the fresh store
    ASSERT_EQ(1u, _logs.size());
    EXPECT_NE(std::string::npos, _logs[0].find(aside[0])) << _logs[0];

    ud->setIntegerForKey("gems", 8);
    EXPECT_EQ(8, restart()->getIntegerForKey("gems"));
    EXPECT_EQ(1u, _logs.size());
}

const Damage kDamages[] = {
    {"Truncated",
     [](const std::string& path) {
         std::string sql = kSchema; // enough rows for several pages, then cut in half
         for (int i = 0; i < 400; ++i)
             sql += "INSERT INTO kv VALUES('level_" + std::to_string(i) + "_best_score', 0, " +
                    std::to_string(i) + ");";
         makeDatabase(path, sql);
         fs::resize_file(path, fs::file_size(path) / 2);
     }},
    {"RandomBytes",
     [](const std::string& path) {
         std::string noise;
         for (unsigned i = 0, x = 1; i < 5000; ++i)
             noise += static_cast<char>((x = x * 1103515245u + 12345u) >> 16);
         writeFile(path, noise);
         writeFile(path + "-wal", "leftover");
     }},
    {"ShortHeader", [](const std::string& path) { writeFile(path, "SQLite format 3"); }},
    {"OtherColumns",
     [](const std::string& path) { makeDatabase(path, "CREATE TABLE kv(name TEXT, amount REAL);"); }},
    {"TextValue",
     [](const std::string& path) { makeDatabase(path, kSchema + "INSERT INTO kv VALUES('g', 0, 'x');"); }},
    {"UnknownKind",
     [](const std::string& path) { makeDatabase(path, kSchema + "INSERT INTO kv VALUES('g', 7, 3);"); }},
    {"AnotherProgramsDatabase",
     [](const std::string& path) { makeDatabase(path, "CREATE TABLE photos(id, data);"); }},
    {"FolderInItsPlace", [](const std::string& path) { fs::create_directories(path + "/inside"); }},
};
INSTANTIATE_TEST_SUITE_P(Stores, DamagedStoreTest, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreTest, EmptyFileIsAnEmptyStoreAndEachBadFileGetsItsOwnPlace) {
    fs::create_directories(folder());
    writeFile(store(), "");
    EXPECT_TRUE(UserDefault::getInstance()->isPersistent());
    EXPECT_TRUE(movedAside().empty());
    EXPECT_TRUE(_logs.empty());

    // Two bad files within the same second are both kept.
    UserDefault::destroyInstance();
    writeFile(store(), "first");
    restart();
    UserDefault::destroyInstance();
    writeFile(store(), "second");
    restart();
    const auto aside = movedAside();
    ASSERT_EQ(2u, aside.size());
    EXPECT_EQ((std::set<std::string>{"first", "second"}),
              (std::set<std::string>{readFile(aside[0]), readFile(aside[1])}));
}

TEST_F(StoreTest, ReadOnlyFolderPlaysOnInMemoryShowingSavedProgress) {
    UserDefault::getInstance()->setIntegerForKey("level", 3);
    UserDefault::destroyInstance();
    for (const auto& dir : {_root, _root + "/data"})
        fs::permissions(dir, fs::perms(0755));
    fs::permissions(folder(), fs::perms(0555));

    // Root ignores permissions, so then the check runs in a child turned into "nobody".
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(77);
        UserDefault* ud = UserDefault::getInstance();
        if (ud->isPersistent()) _exit(1);
        if (ud->getIntegerForKey("level") != 3) _exit(2);
        ud->setIntegerForKey("coins", 9);
        ud->flush();
        if (ud->hasPendingWrites() || ud->getIntegerForKey("coins") != 9) _exit(3);
        if (_logs.size() != 1 || _logs[0].find("not be saved") == std::string::npos) _exit(4);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    fs::permissions(folder(), fs::perms(0755));
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot drop privileges";
    EXPECT_EQ(0, WEXITSTATUS(status)) << "1 persistent, 2 saved value hidden, 3 value lost, 4 log";
    EXPECT_TRUE(movedAside().empty());
    EXPECT_EQ(std::vector<std::string>{"level|3"}, query(store(), "SELECT key, value FROM kv"));
}

TEST_F(StoreTest, NoHomePlaysOnInMemory) {
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");
    EXPECT_EQ("", UserDefault::storePath());
    UserDefault* ud = UserDefault::getInstance();
    EXPECT_FALSE(ud->isPersistent());
    ud->setIntegerForKey("best", 77);
    ud->flush();
    EXPECT_FALSE(ud->hasPendingWrites());
    EXPECT_EQ(77, ud->getIntegerForKey("best"));
    ASSERT_EQ(1u, _logs.size());
    EXPECT_NE(std::string::npos, _logs[0].find("not be saved")) << _logs[0];
    EXPECT_EQ(0, restart()->getIntegerForKey("best")); // nothing outlives the run
}

} // namespace
