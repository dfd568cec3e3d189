// The saved-progress store: defaults, restarts, frame commits, kills and damaged files.
#include "engine/base/Log.h"
#include "engine/store/UserDefault.h"
#include "game/app/ProgressMerge.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "tests/support/TempDirs.h"
#include <chrono>
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
#include <thread>
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

// Runs `body` in a child turned into "nobody" when root (who ignores permissions) and owning
// the store's folder and files, so that it may open them up again halfway. Its exit status;
// 77 when privileges could not be dropped.
int asOwnerWithoutPrivileges(const std::string& folder, const std::function<int()>& body) {
    if (geteuid() == 0) {
        for (const auto& entry : fs::directory_iterator(folder))
            if (chown(entry.path().c_str(), 65534, 65534) != 0) return 77;
        if (chown(folder.c_str(), 65534, 65534) != 0) return 77;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(77);
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
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

    // Ends frames of 1/60 s, as the director does, for this many seconds.
    static void endFrames(UserDefault* ud, double seconds) {
        for (int n = static_cast<int>(seconds * 60 + 0.5); n > 0; --n)
            ud->endFrame(1.0f / 60);
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

    setenv("HOME", (_root + "/home").c_str(), 1);
    // Empty, or relative (which would tie the save to the working folder): the XDG rules say
    // to ignore it.
    for (const char* xdg : {"", "relative/data"}) {
        setenv("XDG_DATA_HOME", xdg, 1);
        EXPECT_EQ(_root + "/home/.local/share/doviveduzuz/UserDefault.db", UserDefault::storePath()) << xdg;
        EXPECT_EQ(_root + "/home/.local/share/doviveduzuz", UserDefault::storeFolder()) << xdg;
    }
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
    EXPECT_EQ(aside[0], ud->takeKeptAside()) << "for the note on screen";
    EXPECT_EQ("", ud->takeKeptAside()) << "said once";

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

TEST_F(StoreTest, ReadOnlyFolderPlaysOnShowingSavedProgressAndSavesOnceWritable) {
    UserDefault::getInstance()->setIntegerForKey("level", 3);
    UserDefault::destroyInstance();
    for (const auto& dir : {_root, _root + "/data"})
        fs::permissions(dir, fs::perms(0755));
    fs::permissions(folder(), fs::perms(0555));

    const int status = asOwnerWithoutPrivileges(folder(), [this] {
        UserDefault* ud = UserDefault::getInstance();
        if (ud->isPersistent()) return 1;
        if (ud->getIntegerForKey("level") != 3) return 2;
        ud->setIntegerForKey("coins", 9);
        endFrames(ud, 10);
        if (!ud->hasPendingWrites() || ud->getIntegerForKey("coins") != 9 || ud->trouble().empty()) return 3;
        if (_logs.size() != 1 || _logs[0].find("not be saved") == std::string::npos) return 4;
        // Made writable: within a few seconds everything set meanwhile is saved, and said so.
        fs::permissions(folder(), fs::perms(0755));
        endFrames(ud, 2.5);
        if (!ud->isPersistent() || ud->hasPendingWrites() || !ud->trouble().empty()) return 5;
        if (_logs.size() != 2 || _logs[1].find("from now on") == std::string::npos) return 6;
        return 0;
    });
    fs::permissions(folder(), fs::perms(0755));
    if (status == 77) GTEST_SKIP() << "cannot drop privileges";
    EXPECT_EQ(0, status)
        << "1 persistent, 2 saved value hidden, 3 value lost, 4 log, 5 not saved once writable, 6 log";
    EXPECT_TRUE(movedAside().empty());
    EXPECT_EQ((std::vector<std::string>{"coins|9", "level|3"}),
              query(store(), "SELECT key, value FROM kv ORDER BY key"));
}

TEST_F(StoreTest, NoHomePlaysOnInMemory) {
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");
    EXPECT_EQ("", UserDefault::storePath());
    UserDefault* ud = UserDefault::getInstance();
    EXPECT_FALSE(ud->isPersistent());
    ud->setIntegerForKey("best", 77);
    ud->setBoolForKey("muted", true);
    ud->flush();
    endFrames(ud, 5);
    EXPECT_EQ(77, ud->getIntegerForKey("best"));
    EXPECT_EQ("Progress not saved", ud->trouble());
    ASSERT_EQ(1u, _logs.size());
    EXPECT_NE(std::string::npos, _logs[0].find("not be saved")) << _logs[0];
    // At exit a last line says what was lost.
    EXPECT_EQ(0, restart()->getIntegerForKey("best")); // nothing outlives the run
    ASSERT_EQ(3u, _logs.size());
    EXPECT_NE(std::string::npos, _logs[1].find("not saved")) << _logs[1];
    EXPECT_NE(std::string::npos, _logs[1].find("best=77, muted=true")) << _logs[1];
}

TEST_F(StoreTest, AWriteProtectedSaveSavesAgainOnceMadeWritable) {
    UserDefault::getInstance()->setIntegerForKey("level", 3);
    UserDefault::destroyInstance();
    for (const auto& dir : {_root, _root + "/data"})
        fs::permissions(dir, fs::perms(0755));
    fs::permissions(store(), fs::perms(0444));
    const int status = asOwnerWithoutPrivileges(folder(), [this] {
        UserDefault* ud = UserDefault::getInstance();
        if (ud->isPersistent()) return 1;
        ud->setIntegerForKey("coins", 9);
        endFrames(ud, 3);
        fs::permissions(store(), fs::perms(0644));
        endFrames(ud, 2.5);
        return ud->hasPendingWrites() ? 2 : 0;
    });
    if (status == 77) GTEST_SKIP() << "cannot drop privileges";
    EXPECT_EQ(0, status) << "1 writable while protected, 2 never saved once writable";
    EXPECT_EQ((std::vector<std::string>{"coins|9", "level|3"}),
              query(store(), "SELECT key, value FROM kv ORDER BY key"));
}

// Deleted, put back by another file, or cut short by a player or a program while the game
// runs: everything the game holds goes into a fresh file, and whatever was there is kept aside.
TEST_F(StoreTest, ASaveLostUnderTheRunningGameIsWrittenAfreshFromMemory) {
    for (const std::string how : {"deleted", "replaced", "truncated", "deleted at exit"}) {
        SCOPED_TRACE(how);
        UserDefault::destroyInstance();
        fs::remove_all(folder());
        _logs.clear();
        UserDefault* ud = UserDefault::getInstance();
        ud->setIntegerForKey("coinScore", 310);
        ud->setBoolForKey("Button1", true);
        endFrames(ud, 0.5);
        if (how == "replaced") {
            makeDatabase(store() + ".other", kSchema + "INSERT INTO kv VALUES('coinScore', 0, 5);");
            fs::rename(store() + ".other", store());
        } else if (how == "truncated") {
            fs::resize_file(store(), 1000);
        } else {
            fs::remove(store());
        }
        if (how == "deleted at exit")
            UserDefault::destroyInstance();
        else
            endFrames(ud, 1.5);
        EXPECT_EQ((std::vector<std::string>{"Button1|1", "coinScore|310"}),
                  query(store(), "SELECT key, value FROM kv ORDER BY key"));
        EXPECT_EQ(how == "replaced" || how == "truncated" ? 1u : 0u, movedAside().size());
        ASSERT_FALSE(_logs.empty());
        const std::string said = how == "truncated" ? "damaged" : how.substr(0, 8);
        EXPECT_NE(std::string::npos, _logs[0].find(said)) << _logs[0];
    }
}

TEST_F(StoreTest, ColumnsALaterVersionAddedAreKeptAsTheyAre) {
    fs::create_directories(folder());
    makeDatabase(store(),
                 "CREATE TABLE kv(key TEXT PRIMARY KEY NOT NULL, type INTEGER NOT NULL, value INTEGER "
                 "NOT NULL, synced INTEGER NOT NULL DEFAULT 0);"
                 "INSERT INTO kv VALUES('coinScore', 0, 700, 1);");
    UserDefault* ud = UserDefault::getInstance();
    EXPECT_TRUE(ud->isPersistent());
    EXPECT_EQ(700, ud->getIntegerForKey("coinScore"));
    ud->setIntegerForKey("coinScore", 650);
    ud->setIntegerForKey("HS", 4);
    ud->flush();
    EXPECT_EQ((std::vector<std::string>{"HS|4|0", "coinScore|650|1"}),
              query(store(), "SELECT key, value, synced FROM kv ORDER BY key"));
    EXPECT_TRUE(movedAside().empty());
    EXPECT_TRUE(_logs.empty());
}

TEST_F(StoreTest, BusyStoreNeverHoldsUpAFrameAndSavesOnceFree) {
    UserDefault* ud = UserDefault::getInstance();
    ud->setIntegerForKey("coinScore", 100);
    ud->flush();
    // Another program holding the write lock.
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(store().c_str(), &other));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
    ud->setIntegerForKey("coinScore", 95);
    ud->setIntegerForKey("timeNo", 1);

    // Waiting on the lock, each frame took half a second: 60 frames, 30 seconds (a bound far
    // from both, whatever the machine's load).
    const auto start = std::chrono::steady_clock::now();
    endFrames(ud, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(ud->hasPendingWrites());
    EXPECT_EQ(95, ud->getIntegerForKey("coinScore"));
    endFrames(ud, 0.5);
    EXPECT_EQ("Progress not saved", ud->trouble()) << "a second and more without saving";
    ASSERT_EQ(1u, _logs.size());

    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    endFrames(ud, 1.0 / 60);
    EXPECT_FALSE(ud->hasPendingWrites()) << "saved on the next frame";
    EXPECT_EQ("", ud->trouble());
    EXPECT_EQ((std::vector<std::string>{"coinScore|95", "timeNo|1"}),
              query(store(), "SELECT key, value FROM kv ORDER BY key"));
    ASSERT_EQ(2u, _logs.size());
    EXPECT_NE(std::string::npos, _logs[1].find("after all")) << _logs[1];
}

// Read at last, the saved progress stands and the session's meanwhile is added to it: a
// round scoring 7 on defaults, a level bought with 5 of those coins.
TEST_F(StoreTest, StoreUnreadableAtStartIsNeverWrittenOverAndGainsTheSessionOnceRead) {
    UserDefault::setLateMerge(&ProgressMerge::merge);
    UserDefault* ud = UserDefault::getInstance();
    ud->setIntegerForKey("coinScore", 500);
    ud->setIntegerForKey("HS", 13);
    ud->setIntegerForKey("timeNo", 2);
    UserDefault::destroyInstance();
    // Another program holding the file for itself: not even reading is possible.
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(store().c_str(), &other));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT;",
                                      nullptr, nullptr, nullptr));
    const std::string before = readFile(store());

    ud = UserDefault::getInstance();
    EXPECT_FALSE(ud->isPersistent());
    EXPECT_TRUE(ud->entries().empty()) << "plays on defaults";
    EXPECT_EQ("Save not read yet", ud->trouble());
    ASSERT_EQ(1u, _logs.size());
    EXPECT_NE(std::string::npos, _logs[0].find("playing on defaults")) << _logs[0];
    // Made on defaults, these must never reach the file as they are.
    for (const auto& [key, value] : {std::pair{"scoreMoney", 7},
                                     {"roundWinnings", 7},
                                     {"HS", 7},
                                     {"coinScore", 7},
                                     {"roundWinnings", 0},
                                     {"coinScore", 2},
                                     {"timeNo", 1}})
        ud->setIntegerForKey(key, value);
    endFrames(ud, 5);
    EXPECT_FALSE(ud->isPersistent());
    EXPECT_EQ(7, ud->getIntegerForKey("HS"));
    EXPECT_TRUE(before == readFile(store()));

    sqlite3_close(other);
    endFrames(ud, 0.5);
    EXPECT_TRUE(ud->isPersistent());
    EXPECT_FALSE(ud->hasPendingWrites());
    EXPECT_EQ("", ud->trouble());
    EXPECT_EQ(
        (std::vector<std::string>{"HS|13", "coinScore|502", "roundWinnings|0", "scoreMoney|507", "timeNo|2"}),
        query(store(), "SELECT key, value FROM kv ORDER BY key"));
    UserDefault::setLateMerge({});
    // Read on the result panel of a round scoring 3: an old round's balance refunds nothing.
    const auto merged = ProgressMerge::merge({{"coinScore", 210}, {"scoreMoney", 310}},
                                             {{"scoreMoney", 3}, {"roundWinnings", 3}, {"HS", 3}});
    EXPECT_EQ(213, std::get<int>(merged.at("scoreMoney")));
    EXPECT_EQ(210, std::get<int>(merged.at("coinScore")));
    // Negative winnings (an edited store) count as 0, as the shop reads them, never as a debt.
    EXPECT_EQ(500,
              std::get<int>(
                  ProgressMerge::merge({{"coinScore", 500}, {"roundWinnings", -400}}, {}).at("coinScore")));
    ASSERT_EQ(3u, _logs.size());
    EXPECT_NE(std::string::npos, _logs[1].find("at last")) << _logs[1];
}

// A value this game could not have written (outside the int range, of another type) is reset
// alone; the rest of the progress stays, and the file as found is kept aside.
TEST_F(StoreTest, ValuesOfTheWrongKindAreResetAloneAndTheRestKept) {
    fs::create_directories(folder());
    makeDatabase(store(), kSchema + "INSERT INTO kv VALUES('coinScore', 0, 700);"
                                    "INSERT INTO kv VALUES('timeNo', 0, 2);"
                                    "INSERT INTO kv VALUES('Button1', 1, 1);"
                                    "INSERT INTO kv VALUES('lifeNo', 0, 2147483648);"
                                    "INSERT INTO kv VALUES('scores', 0, -2147483649);"
                                    "INSERT INTO kv VALUES('HS', 0, 9223372036854775808.0);"
                                    "INSERT INTO kv VALUES('gaug1', 0, 'x');"
                                    "INSERT INTO kv VALUES('life', 7, 3);"
                                    "INSERT INTO kv VALUES(X'6b', 0, 1);");
    const std::string before = readFile(store());

    UserDefault* ud = UserDefault::getInstance();
    EXPECT_TRUE(ud->isPersistent());
    EXPECT_EQ(700, ud->getIntegerForKey("coinScore"));
    EXPECT_EQ(2, ud->getIntegerForKey("timeNo"));
    EXPECT_TRUE(ud->getBoolForKey("Button1"));
    for (const char* reset : {"lifeNo", "scores", "HS", "gaug1", "life", "k"}) {
        EXPECT_EQ(0, ud->getIntegerForKey(reset)) << reset;
        EXPECT_EQ(0u, ud->entries().count(reset)) << reset;
    }
    const auto aside = movedAside();
    ASSERT_EQ(1u, aside.size());
    EXPECT_TRUE(before == readFile(aside[0])) << "the copy is not the file as found";
    ASSERT_EQ(1u, _logs.size());
    for (const char* named : {"\"lifeNo\"", "\"HS\"", "\"gaug1\"", "\"life\"", "\"k\"", aside[0].c_str()})
        EXPECT_NE(std::string::npos, _logs[0].find(named)) << named << " in " << _logs[0];

    // Gone from the store itself, so the next start finds nothing to say. A save in
    // rollback-journal mode is turned into a WAL one on a thread first: wait for that. A read
    // from outside while the game holds the file may find it busy (and read nothing): the rows
    // judged are those of the last read.
    const std::vector<std::string> kept = {"Button1", "coinScore", "timeNo"};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::vector<std::string> seen;
    while ((seen = query(store(), "SELECT key FROM kv ORDER BY key")) != kept &&
           std::chrono::steady_clock::now() < deadline) {
        ud->endFrame(1.0f / 60);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(kept, seen);
    ud = restart();
    EXPECT_EQ(700, ud->getIntegerForKey("coinScore"));
    EXPECT_EQ(1u, _logs.size());
    EXPECT_EQ(1u, movedAside().size());
}

} // namespace
