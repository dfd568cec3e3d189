// The saved-progress store: defaults, restarts, frame commits, kills and damaged files.
#include "Log.h"
#include "UserDefault.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using cocos2d::UserDefault;

namespace {

std::optional<std::string> envOrNone(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void restoreEnv(const char* name, const std::optional<std::string>& value) {
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
}

// Runs a query on the store file through a connection of its own.
std::vector<std::string> query(const std::string& path, const char* sql) {
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_exec(
            db, sql,
            [](void* out, int columns, char** values, char**) {
                std::string row;
                for (int i = 0; i < columns; ++i) row += (i ? "|" : "") + std::string(values[i] ? values[i] : "NULL");
                static_cast<std::vector<std::string>*>(out)->push_back(row);
                return 0;
            },
            &rows, nullptr);
    }
    sqlite3_close_v2(db);
    return rows;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void makeDatabase(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(path.c_str(), &db));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db, sql, nullptr, nullptr, nullptr));
    sqlite3_close(db);
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        UserDefault::destroyInstance();
        char pattern[] = "/tmp/dovi_store_XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        _root = pattern;
        _savedXdg = envOrNone("XDG_DATA_HOME");
        _savedHome = envOrNone("HOME");
        setenv("XDG_DATA_HOME", (_root + "/data").c_str(), 1);
        cocos2d::setLogObserver([this](const std::string& line) { _logs.push_back(line); });
    }

    void TearDown() override {
        UserDefault::destroyInstance();
        cocos2d::setLogObserver({});
        restoreEnv("XDG_DATA_HOME", _savedXdg);
        restoreEnv("HOME", _savedHome);
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(_root, ec))
            if (entry.is_directory(ec)) fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(_root, ec);
    }

    std::string folder() const { return _root + "/data/doviveduzuz"; }
    std::string store() const { return folder() + "/UserDefault.db"; }

    static UserDefault* restart() {
        UserDefault::destroyInstance();
        return UserDefault::getInstance();
    }

    std::vector<fs::path> movedAside() const {
        std::vector<fs::path> found;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder(), ec)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("UserDefault.db.bad-", 0) == 0 && name.find("-wal") == std::string::npos &&
                name.find("-shm") == std::string::npos)
                found.push_back(entry.path());
        }
        return found;
    }

    std::string _root;
    std::vector<std::string> _logs;
    std::optional<std::string> _savedXdg, _savedHome;
};

// rwxr-xr-x, so the unprivileged child can reach what lies below.
void openToAll(const std::string& path) {
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
}

// Runs `body` in a forked child (as an unprivileged user when we are root, so that
// permissions apply) and returns what it reports: empty when all its checks held.
std::optional<std::string> inUnprivilegedChild(const std::function<std::string()>& body) {
    int fds[2];
    if (pipe(fds) != 0) return "pipe failed";
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(77);
        const std::string report = body();
        if (!report.empty() && write(fds[1], report.data(), report.size()) < 0) _exit(2);
        _exit(0);
    }
    close(fds[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77) return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) report += " (child did not finish cleanly)";
    return report;
}

// Forks a child that runs `body` and then dies by SIGKILL, as a crash or a task killer would.
void killedChild(const std::function<void()>& body) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        body();
        raise(SIGKILL);
        _exit(3);
    }
    int status = 0;
    ASSERT_EQ(pid, waitpid(pid, &status, 0));
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(SIGKILL, WTERMSIG(status));
}

TEST_F(StoreTest, FreshStoreReadsDefaults) {
    UserDefault* ud = UserDefault::getInstance();
    EXPECT_TRUE(ud->isPersistent());
    EXPECT_EQ(store(), UserDefault::storePath());
    EXPECT_TRUE(fs::is_regular_file(store()));
    EXPECT_EQ(0, ud->getIntegerForKey("best"));
    EXPECT_EQ(7, ud->getIntegerForKey("best", 7));
    EXPECT_FALSE(ud->getBoolForKey("sound_off"));
    EXPECT_TRUE(ud->getBoolForKey("sound_off", true));
    EXPECT_FALSE(ud->hasPendingWrites());
    EXPECT_TRUE(ud->entries().empty());
    EXPECT_TRUE(_logs.empty());
}

TEST_F(StoreTest, LocationFollowsXdgThenHome) {
    EXPECT_EQ(store(), UserDefault::storePath());
    setenv("XDG_DATA_HOME", "", 1);
    setenv("HOME", (_root + "/home").c_str(), 1);
    EXPECT_EQ(_root + "/home/.local/share/doviveduzuz/UserDefault.db", UserDefault::storePath());
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(_root + "/home/.local/share/doviveduzuz/UserDefault.db", UserDefault::storePath());
    // The folders are made on open.
    EXPECT_TRUE(UserDefault::getInstance()->isPersistent());
    EXPECT_TRUE(fs::is_regular_file(_root + "/home/.local/share/doviveduzuz/UserDefault.db"));
    unsetenv("HOME");
    EXPECT_EQ("", UserDefault::storePath());
}

TEST_F(StoreTest, ValuesAndTheirKindsSurviveRestart) {
    UserDefault* ud = UserDefault::getInstance();
    ud->setIntegerForKey("best", 120);
    ud->setIntegerForKey("debt", -5);
    ud->setIntegerForKey("best", 340); // the later value wins
    ud->setBoolForKey("tutorial_done", true);
    ud->setBoolForKey("muted", false);
    ud->flush();

    ud = restart();
    EXPECT_EQ(340, ud->getIntegerForKey("best"));
    EXPECT_EQ(-5, ud->getIntegerForKey("debt"));
    EXPECT_TRUE(ud->getBoolForKey("tutorial_done"));
    EXPECT_FALSE(ud->getBoolForKey("muted", true));
    // Read across kinds: a flag as a number and a number as a flag.
    EXPECT_EQ(1, ud->getIntegerForKey("tutorial_done"));
    EXPECT_EQ(0, ud->getIntegerForKey("muted", 9));
    EXPECT_TRUE(ud->getBoolForKey("best"));
    EXPECT_TRUE(std::holds_alternative<bool>(ud->entries().at("tutorial_done")));
    EXPECT_EQ(UserDefault::Value(340), ud->entries().at("best"));
    EXPECT_TRUE(_logs.empty());
}

TEST_F(StoreTest, ClosingSavesWhatIsPending) {
    UserDefault::getInstance()->setIntegerForKey("coins", 12);
    EXPECT_EQ(12, restart()->getIntegerForKey("coins"));
}

TEST_F(StoreTest, FrameIsCommittedAsOneBatch) {
    UserDefault* ud = UserDefault::getInstance();
    ud->setIntegerForKey("level", 4);
    ud->setIntegerForKey("stars", 11);
    ud->setBoolForKey("level4_open", true);
    EXPECT_TRUE(ud->hasPendingWrites());
    EXPECT_EQ(4, ud->getIntegerForKey("level")); // served from memory before the commit
    EXPECT_TRUE(query(store(), "SELECT key FROM kv").empty());

    ud->flush();
    EXPECT_FALSE(ud->hasPendingWrites());
    EXPECT_EQ((std::vector<std::string>{"level|0|4", "level4_open|1|1", "stars|0|11"}),
              query(store(), "SELECT key, type, value FROM kv ORDER BY key"));

    // Setting what is already stored costs no write.
    ud->setIntegerForKey("level", 4);
    ud->setBoolForKey("level4_open", true);
    EXPECT_FALSE(ud->hasPendingWrites());
    // A changed kind is a change.
    ud->setIntegerForKey("level4_open", 1);
    EXPECT_TRUE(ud->hasPendingWrites());
}

TEST_F(StoreTest, FailedCommitStaysPendingAndIsReportedOnce) {
    UserDefault* ud = UserDefault::getInstance();
    ud->setIntegerForKey("score", 1);
    ud->flush();

    // Another connection holding the write lock, as a second copy of the game would.
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(store().c_str(), &other));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));
    ud->setIntegerForKey("score", 2);
    ud->flush();
    EXPECT_TRUE(ud->hasPendingWrites());
    ud->flush();
    EXPECT_TRUE(ud->hasPendingWrites());
    EXPECT_EQ(1u, _logs.size());
    EXPECT_EQ(2, ud->getIntegerForKey("score"));
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    ud->flush();
    EXPECT_FALSE(ud->hasPendingWrites());
    EXPECT_EQ(std::vector<std::string>{"2"}, query(store(), "SELECT value FROM kv WHERE key='score'"));
    EXPECT_EQ(1u, _logs.size());
}

TEST_F(StoreTest, KillAfterFlushKeepsThatFrameAndLosesOnlyTheNext) {
    UserDefault::getInstance()->setIntegerForKey("gems", 1);
    UserDefault::destroyInstance(); // the child opens its own connection

    killedChild([] {
        UserDefault* ud = UserDefault::getInstance();
        ud->setIntegerForKey("gems", 2);
        ud->setBoolForKey("shield", true);
        ud->flush();
        ud->setIntegerForKey("gems", 3); // the frame in progress
        ud->setBoolForKey("magnet", true);
    });

    UserDefault* ud = UserDefault::getInstance();
    EXPECT_EQ(2, ud->getIntegerForKey("gems"));
    EXPECT_TRUE(ud->getBoolForKey("shield"));
    EXPECT_FALSE(ud->getBoolForKey("magnet"));
    EXPECT_EQ(std::vector<std::string>{"ok"}, query(store(), "PRAGMA integrity_check"));
    EXPECT_TRUE(_logs.empty());
}

TEST_F(StoreTest, KillBeforeAnyFlushLeavesOldValuesIntact) {
    UserDefault::getInstance()->setIntegerForKey("gems", 1);
    UserDefault::destroyInstance();

    killedChild([] {
        UserDefault* ud = UserDefault::getInstance();
        ud->setIntegerForKey("gems", 50);
        ud->setIntegerForKey("lives", 9);
    });

    UserDefault* ud = UserDefault::getInstance();
    EXPECT_TRUE(ud->isPersistent());
    EXPECT_EQ(1, ud->getIntegerForKey("gems"));
    EXPECT_EQ(0, ud->getIntegerForKey("lives"));
    EXPECT_EQ(std::vector<std::string>{"ok"}, query(store(), "PRAGMA integrity_check"));
}

TEST_F(StoreTest, KillAtAnArbitraryMomentNeverSplitsAFrame) {
    UserDefault::getInstance();
    UserDefault::destroyInstance();
    int fds[2];
    ASSERT_EQ(0, pipe(fds));
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        close(fds[0]);
        UserDefault* ud = UserDefault::getInstance();
        for (int frame = 1; frame < 100000; ++frame) {
            ud->setIntegerForKey("a", frame);
            ud->setIntegerForKey("b", frame);
            ud->setIntegerForKey("c", frame);
            ud->flush();
            if (write(fds[1], "f", 1) != 1) break;
        }
        _exit(0);
    }
    close(fds[1]);
    // Kill it some frames in, while it is busy with a later one.
    char beat = 0;
    int frames = 0;
    while (frames < 25 && read(fds[0], &beat, 1) == 1) ++frames;
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    close(fds[0]);
    ASSERT_EQ(25, frames);

    UserDefault* ud = UserDefault::getInstance();
    const int a = ud->getIntegerForKey("a");
    EXPECT_GE(a, 25);
    EXPECT_EQ(a, ud->getIntegerForKey("b"));
    EXPECT_EQ(a, ud->getIntegerForKey("c"));
    EXPECT_EQ(std::vector<std::string>{"ok"}, query(store(), "PRAGMA integrity_check"));
}

// Damaged or foreign stores: the game starts with defaults, the old file is kept aside and
// one line says where it went.
struct Damage {
    const char* name;
    std::function<void(const std::string& path)> make;
};

class DamagedStoreTest : public StoreTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedStoreTest, StartsFreshAndKeepsTheOldFileAside) {
    fs::create_directories(folder());
    GetParam().make(store());
    ASSERT_TRUE(fs::exists(store()));
    const bool wasFolder = fs::is_directory(store());
    const std::string before = wasFolder ? "" : readFile(store());
    const bool hadWal = fs::exists(store() + "-wal");

    UserDefault* ud = UserDefault::getInstance();
    EXPECT_TRUE(ud->isPersistent());
    EXPECT_EQ(0, ud->getIntegerForKey("gems"));
    EXPECT_TRUE(ud->entries().empty());

    const auto aside = movedAside();
    ASSERT_EQ(1u, aside.size());
    if (wasFolder)
        EXPECT_TRUE(fs::is_directory(aside[0]));
    else
        EXPECT_TRUE(before == readFile(aside[0].string())) << "the file was changed before it was moved";
    // A leftover WAL travels with its file instead of being replayed into the fresh store.
    EXPECT_EQ(hadWal, fs::exists(aside[0].string() + "-wal"));
    ASSERT_EQ(1u, _logs.size());
    EXPECT_NE(std::string::npos, _logs[0].find(aside[0].string())) << _logs[0];

    // The fresh store works like any other.
    ud->setIntegerForKey("gems", 8);
    EXPECT_EQ(8, restart()->getIntegerForKey("gems"));
    EXPECT_EQ(1u, _logs.size());
    EXPECT_EQ(1u, movedAside().size());
}

const Damage kDamages[] = {
    {"Truncated",
     [](const std::string& path) {
         // Enough rows to span several pages, then cut the file in half.
         std::string sql = "CREATE TABLE kv(key TEXT PRIMARY KEY NOT NULL, type INTEGER NOT NULL, value INTEGER "
                           "NOT NULL);";
         for (int i = 0; i < 400; ++i)
             sql += "INSERT INTO kv VALUES('level_" + std::to_string(i) + "_best_score_so_far', 0, " +
                    std::to_string(i) + ");";
         makeDatabase(path, sql.c_str());
         fs::resize_file(path, fs::file_size(path) / 2);
     }},
    {"RandomBytes",
     [](const std::string& path) {
         std::string noise;
         unsigned state = 12345;
         for (int i = 0; i < 5000; ++i) {
             state = state * 1103515245u + 12345u;
             noise += static_cast<char>(state >> 16);
         }
         writeFile(path, noise);
         writeFile(path + "-wal", "leftover"); // a companion goes with it
     }},
    {"ShortHeader", [](const std::string& path) { writeFile(path, "SQLite format 3"); }},
    {"OtherColumns",
     [](const std::string& path) { makeDatabase(path, "CREATE TABLE kv(name TEXT, amount REAL, extra BLOB);"); }},
    {"WrongTypes",
     [](const std::string& path) {
         makeDatabase(path, "CREATE TABLE kv(key TEXT PRIMARY KEY NOT NULL, type INTEGER NOT NULL, value INTEGER "
                            "NOT NULL); INSERT INTO kv VALUES('gems', 0, 'lots');");
     }},
    {"UnknownKind",
     [](const std::string& path) {
         makeDatabase(path, "CREATE TABLE kv(key TEXT PRIMARY KEY NOT NULL, type INTEGER NOT NULL, value INTEGER "
                            "NOT NULL); INSERT INTO kv VALUES('gems', 7, 3);");
     }},
    {"AnotherProgramsDatabase",
     [](const std::string& path) { makeDatabase(path, "CREATE TABLE photos(id INTEGER PRIMARY KEY, data BLOB);"); }},
    {"FolderInItsPlace", [](const std::string& path) { fs::create_directories(path + "/inside"); }},
};

INSTANTIATE_TEST_SUITE_P(Stores, DamagedStoreTest, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreTest, EmptyFileIsAnEmptyStore) {
    fs::create_directories(folder());
    writeFile(store(), "");
    UserDefault* ud = UserDefault::getInstance();
    EXPECT_TRUE(ud->isPersistent());
    EXPECT_TRUE(movedAside().empty());
    EXPECT_TRUE(_logs.empty());
    ud->setBoolForKey("seen_intro", true);
    EXPECT_TRUE(restart()->getBoolForKey("seen_intro"));
}

TEST_F(StoreTest, EachDamagedFileGetsItsOwnPlaceAside) {
    fs::create_directories(folder());
    writeFile(store(), "not a database, first");
    UserDefault::getInstance();
    UserDefault::destroyInstance();
    writeFile(store(), "not a database, second");
    UserDefault::getInstance();

    const auto aside = movedAside();
    ASSERT_EQ(2u, aside.size());
    std::vector<std::string> contents{readFile(aside[0].string()), readFile(aside[1].string())};
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ((std::vector<std::string>{"not a database, first", "not a database, second"}), contents);
    EXPECT_EQ(2u, _logs.size());
}

TEST_F(StoreTest, ReadOnlyFolderPlaysOnInMemoryWithSavedProgressVisible) {
    UserDefault::getInstance()->setIntegerForKey("level", 3);
    UserDefault::destroyInstance();
    openToAll(_root);
    openToAll(_root + "/data");
    fs::permissions(store(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                 fs::perms::others_read);
    fs::permissions(folder(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);

    const auto report = inUnprivilegedChild([this] {
        std::string failures;
        UserDefault* ud = UserDefault::getInstance();
        if (ud->isPersistent()) failures += "store claims to be persistent; ";
        if (ud->getIntegerForKey("level") != 3) failures += "saved level not visible; ";
        ud->setIntegerForKey("coins", 9);
        ud->flush();
        if (ud->hasPendingWrites()) failures += "flush left writes pending; ";
        if (ud->getIntegerForKey("coins") != 9) failures += "value set this run not readable; ";
        UserDefault::destroyInstance();
        if (_logs.size() != 1) failures += std::to_string(_logs.size()) + " log lines; ";
        else if (_logs[0].find("not be saved") == std::string::npos) failures += "log line: " + _logs[0];
        return failures;
    });
    if (!report) GTEST_SKIP() << "cannot drop privileges to make the folder read-only";
    EXPECT_EQ("", *report);
    // Nothing was moved or changed.
    EXPECT_TRUE(movedAside().empty());
    EXPECT_EQ(std::vector<std::string>{"level|0|3"}, query(store(), "SELECT key, type, value FROM kv"));
}

TEST_F(StoreTest, UncreatableFolderPlaysOnInMemory) {
    fs::create_directories(_root + "/data");
    openToAll(_root);
    fs::permissions(_root + "/data", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                         fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);

    const auto report = inUnprivilegedChild([this] {
        std::string failures;
        UserDefault* ud = UserDefault::getInstance();
        if (ud->isPersistent()) failures += "store claims to be persistent; ";
        ud->setBoolForKey("muted", true);
        if (!ud->getBoolForKey("muted")) failures += "value set this run not readable; ";
        UserDefault::destroyInstance();
        if (_logs.size() != 1) failures += std::to_string(_logs.size()) + " log lines; ";
        return failures;
    });
    if (!report) GTEST_SKIP() << "cannot drop privileges to make the folder read-only";
    EXPECT_EQ("", *report);
    EXPECT_FALSE(fs::exists(folder()));
}

TEST_F(StoreTest, NoHomePlaysOnInMemory) {
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");
    UserDefault* ud = UserDefault::getInstance();
    EXPECT_FALSE(ud->isPersistent());
    ASSERT_EQ(1u, _logs.size());
    EXPECT_NE(std::string::npos, _logs[0].find("not be saved")) << _logs[0];

    ud->setIntegerForKey("best", 77);
    ud->setBoolForKey("muted", true);
    ud->flush();
    EXPECT_FALSE(ud->hasPendingWrites());
    EXPECT_EQ(77, ud->getIntegerForKey("best"));
    EXPECT_TRUE(ud->getBoolForKey("muted"));
    EXPECT_EQ(1u, _logs.size());

    // Nothing outlives the run.
    EXPECT_EQ(0, restart()->getIntegerForKey("best"));
}

} // namespace
