// Bad saved progress met by the real start of the harness and of the game program: damaged or
// foreign files, a folder in the file's place, nowhere to write, no home at all. Both start
// every time; a bad file is kept aside as it was; one log line says what happened; where nothing
// can be written the game plays on in memory and says so once.
#include "harness/playtest/Spots.h"
#include "harness/soak/PlaytestProcess.h"
#include "harness/soak/StoreFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

enum class Outcome {
    UsedAsIs,   // nothing wrong with it: used, nothing said
    MovedAside, // kept aside as found, a fresh store in its place
    InMemory,   // nothing can be written: the game plays on without saving
};

struct BadStore {
    const char* name;
    Outcome outcome;
    // Prepares the trouble under `root`; the environment changes the programs start with.
    std::function<std::vector<std::string>(const std::string& root)> make;
    // Run the programs as an unprivileged user, for whom permissions hold even when we are root.
    bool unprivileged = false;
};
void PrintTo(const BadStore& bad, std::ostream* out) {
    *out << bad.name;
}

std::string storeFolder(const std::string& root) {
    return root + "/data/doviveduzuz";
}
std::string storePath(const std::string& root) {
    return storeFolder(root) + "/UserDefault.db";
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> inStoreFolder(const std::string& root) {
    return {"XDG_DATA_HOME=" + root + "/data"};
}

// What is in the store's place, in a form that can be compared before and after.
std::string snapshot(const std::string& path) {
    if (fs::is_directory(path)) {
        std::string listing = "<folder>";
        for (const auto& entry : fs::recursive_directory_iterator(path))
            listing += " " + entry.path().lexically_relative(path).string() +
                       (entry.is_directory() ? "/" : "=" + readBytes(entry.path().string()));
        return listing;
    }
    return readBytes(path);
}

// The log lines about the store (each of them speaks of the progress).
std::vector<std::string> storeLines(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& line : lines)
        if (line.find("progress") != std::string::npos) out.push_back(line);
    return out;
}

const BadStore kBadStores[] = {
    {"EmptyFile", Outcome::UsedAsIs,
     [](const std::string& root) {
         fs::create_directories(storeFolder(root));
         writeBytes(storePath(root), "");
         return inStoreFolder(root);
     }},
    {"TruncatedFile", Outcome::MovedAside,
     [](const std::string& root) {
         fs::create_directories(storeFolder(root));
         std::map<std::string, int> rows;
         for (int i = 0; i < 300; ++i)
             rows["padding_key_number_" + std::to_string(i)] = i;
         rows["coinScore"] = 640;
         StoreFile::write(storePath(root), rows);
         fs::resize_file(storePath(root), fs::file_size(storePath(root)) / 2);
         return inStoreFolder(root);
     }},
    {"RandomBytes", Outcome::MovedAside,
     [](const std::string& root) {
         fs::create_directories(storeFolder(root));
         std::string noise;
         for (unsigned i = 0, x = 12345; i < 8192; ++i)
             noise += static_cast<char>((x = x * 1664525u + 1013904223u) >> 24);
         writeBytes(storePath(root), noise);
         return inStoreFolder(root);
     }},
    {"AnotherProgramsDatabase", Outcome::MovedAside,
     [](const std::string& root) {
         fs::create_directories(storeFolder(root));
         sqlite3* db = nullptr;
         sqlite3_open(storePath(root).c_str(), &db);
         sqlite3_exec(db, "CREATE TABLE kv(name TEXT, amount REAL); INSERT INTO kv VALUES('coinScore', 2.5);",
                      nullptr, nullptr, nullptr);
         sqlite3_close(db);
         return inStoreFolder(root);
     }},
    {"FolderInTheFilesPlace", Outcome::MovedAside,
     [](const std::string& root) {
         fs::create_directories(storePath(root) + "/notes");
         writeBytes(storePath(root) + "/notes/keep.txt", "not the game's");
         return inStoreFolder(root);
     }},
    {"ReadOnlyFolder", Outcome::InMemory,
     [](const std::string& root) {
         fs::create_directories(storeFolder(root));
         StoreFile::write(storePath(root), {{"coinScore", 700}, {"timeNo", 2}});
         for (const std::string& dir : {root, root + "/data"})
             fs::permissions(dir, fs::perms(0755));
         fs::permissions(storePath(root), fs::perms(0644));
         fs::permissions(storeFolder(root), fs::perms(0555));
         return inStoreFolder(root);
     },
     true},
    {"FileWhereTheFolderShouldBe", Outcome::InMemory,
     [](const std::string& root) {
         fs::create_directories(root + "/data");
         writeBytes(storeFolder(root), "a file, not a folder");
         return inStoreFolder(root);
     }},
    {"DataHomeUnderAFile", Outcome::InMemory,
     [](const std::string& root) {
         writeBytes(root + "/plain-file", "nothing can live under me");
         return std::vector<std::string>{"XDG_DATA_HOME=" + root + "/plain-file/data"};
     }},
    {"NoHomeAtAll", Outcome::InMemory,
     [](const std::string&) {
         return std::vector<std::string>{"XDG_DATA_HOME", "HOME"};
     }},
};

class BadStoreTest : public ::testing::TestWithParam<BadStore> {
  protected:
    void SetUp() override {
        char dir[] = "/tmp/doviveduzuz-badstore-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(dir));
        _root = dir;
        // Open to the unprivileged user too; the trouble itself is made inside.
        fs::permissions(_root, fs::perms(0755));
        if (uid() >= 0 && geteuid() == 0 && !PlaytestProcess::reachableByAll(DOVI_BINARY_DIR "/playtest"))
            GTEST_SKIP() << "the build folder " DOVI_BINARY_DIR " is not open to the unprivileged user";
    }
    void TearDown() override {
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(_root, ec))
            if (entry.is_directory(ec))
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(_root, ec);
    }
    // A copy of the trouble of its own for each program; its log files live beside it.
    std::pair<std::string, std::vector<std::string>> prepare(const std::string& name) {
        const std::string root = _root + "/" + name;
        fs::create_directories(root);
        fs::create_directories(_root + "/logs");
        return {root, GetParam().make(root)};
    }
    std::string logFile(const std::string& name) const { return _root + "/logs/" + name; }
    int uid() const { return GetParam().unprivileged ? 65534 : -1; }

    std::string _root;
};

struct HarnessRun {
    int status = -1;
    json storeAtStart, storeAfterPurchase;
    std::vector<std::string> log;
    // The note that a save was kept aside showed on reaching the shop.
    bool keptAsideSaid = false;
};

// Starts the harness, looks at the store, plays title -> shop, buys the first life level with
// 500 coins brought in from a round, and quits.
HarnessRun playLoop(const std::vector<std::string>& env, int uid, const std::string& errors) {
    HarnessRun run;
    PlaytestProcess pt(DOVI_BINARY_DIR "/playtest", env, errors, uid, uid);
    const auto answer = [&](const std::string& command) { return pt.ask(command).value_or("<no answer>"); };
    EXPECT_EQ("ok", answer("seed 3"));
    run.storeAtStart = json::parse(answer("store"), nullptr, false);
    for (const char* command : {"step 2", "tap 960 540", "step 150"})
        EXPECT_EQ("ok", answer(command)) << command;
    run.keptAsideSaid = answer("notes").find("\"kept aside\"") != std::string::npos;
    for (const std::string& command :
         std::vector<std::string>{"open shop 500", "step 2", Spot::tap(Spot::kLifeIcon), "step 2"})
        EXPECT_EQ("ok", answer(command)) << command;
    run.storeAfterPurchase = json::parse(answer("store"), nullptr, false);
    const json log = json::parse(answer("log"), nullptr, false);
    if (log.is_array())
        for (const json& line : log)
            run.log.push_back(line.get<std::string>());
    pt.send("quit");
    run.status = pt.wait();
    return run;
}

std::vector<std::string> movedAside(const std::string& root) {
    std::vector<std::string> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(storeFolder(root), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("UserDefault.db.bad-", 0) == 0 && name.find("-wal") == std::string::npos &&
            name.find("-shm") == std::string::npos)
            found.push_back(entry.path().string());
    }
    return found;
}

} // namespace

TEST_P(BadStoreTest, HarnessStartsSaysWhatHappenedOnceAndKeepsTheBadFile) {
    const BadStore& bad = GetParam();
    const auto [root, env] = prepare("harness");
    const std::string before = snapshot(storePath(root));
    const std::string everything = snapshot(root);

    const HarnessRun first = playLoop(env, uid(), logFile("errors-1.txt"));
    ASSERT_TRUE(PlaytestProcess::exitedWith(first.status, 0)) << "status " << first.status << "\n"
                                                              << readBytes(logFile("errors-1.txt"));
    const std::vector<std::string> lines = storeLines(first.log);
    // Whatever happened to the store, the game goes on: the purchase shows.
    EXPECT_EQ(400, first.storeAfterPurchase.value("coinScore", -1));
    EXPECT_EQ(1, first.storeAfterPurchase.value("lifeNo", -1));

    const HarnessRun second = playLoop(env, uid(), logFile("errors-2.txt"));
    ASSERT_TRUE(PlaytestProcess::exitedWith(second.status, 0)) << readBytes(logFile("errors-2.txt"));
    // Said on screen too, once.
    EXPECT_EQ(bad.outcome == Outcome::MovedAside, first.keptAsideSaid);
    EXPECT_FALSE(second.keptAsideSaid);

    switch (bad.outcome) {
    case Outcome::UsedAsIs:
        EXPECT_TRUE(lines.empty()) << lines.front();
        EXPECT_TRUE(movedAside(root).empty());
        EXPECT_EQ(400, second.storeAtStart.value("coinScore", -1)) << "the purchase was not saved";
        break;
    case Outcome::MovedAside: {
        ASSERT_EQ(1u, lines.size()) << testing::PrintToString(first.log);
        const auto aside = movedAside(root);
        ASSERT_EQ(1u, aside.size());
        EXPECT_NE(std::string::npos, lines[0].find(storePath(root))) << lines[0];
        EXPECT_NE(std::string::npos, lines[0].find(aside[0])) << lines[0];
        EXPECT_EQ(before, snapshot(aside[0])) << "the bad file was changed before it was kept aside";
        EXPECT_TRUE(first.storeAtStart.empty()) << first.storeAtStart.dump();
        // The fresh store works: the purchase is there on the next start, and nothing more is said.
        EXPECT_EQ(400, second.storeAtStart.value("coinScore", -1));
        EXPECT_EQ(1, second.storeAtStart.value("lifeNo", -1));
        EXPECT_TRUE(storeLines(second.log).empty()) << storeLines(second.log).front();
        EXPECT_EQ("ok", StoreFile::read(storePath(root)).integrity);
        break;
    }
    case Outcome::InMemory:
        ASSERT_EQ(1u, lines.size()) << testing::PrintToString(first.log);
        EXPECT_NE(std::string::npos, lines[0].find("not be saved")) << lines[0];
        // Nothing was written: the next start is where this one began, and says so again, once.
        EXPECT_EQ(first.storeAtStart, second.storeAtStart);
        EXPECT_EQ(1u, storeLines(second.log).size());
        EXPECT_EQ(everything, snapshot(root)) << "something was written after all";
        break;
    }
    if (std::string(bad.name) == "ReadOnlyFolder") {
        // What was saved before still shows, though nothing new can be saved.
        EXPECT_EQ(700, first.storeAtStart.value("coinScore", -1));
        EXPECT_EQ(2, first.storeAtStart.value("timeNo", -1));
    }
}

TEST_P(BadStoreTest, GameProgramStartsAndEndsCleanly) {
    const BadStore& bad = GetParam();
    const auto [root, env] = prepare("game");
    std::vector<std::string> gameEnv = env;
    gameEnv.insert(gameEnv.end(), {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"});
    const std::string errors = logFile("game-errors.txt");
    PlaytestProcess game(DOVI_BINARY_DIR "/doviveduzuz", gameEnv, errors, uid(), uid());
    ASSERT_TRUE(game.started());

    // The store opens at the end of the first frame: a line says so, or the store goes live.
    const std::string expected = bad.outcome == Outcome::MovedAside ? "moved it to" : "not be saved";
    const auto said = [&] { return readBytes(errors).find(expected) != std::string::npos; };
    const auto live = [&] { return fs::exists(storePath(root) + "-wal"); };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!(bad.outcome == Outcome::UsedAsIs ? live() : said()) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    game.signal(SIGTERM);
    const int status = game.wait();
    EXPECT_TRUE(PlaytestProcess::exitedWith(status, 0)) << "status " << status << "\n" << readBytes(errors);

    std::vector<std::string> lines;
    std::istringstream in(readBytes(errors));
    for (std::string line; std::getline(in, line);)
        if (line.rfind("doviveduzuz: ", 0) == 0) lines.push_back(line.substr(13));
    lines = storeLines(lines);
    if (bad.outcome == Outcome::InMemory) {
        // At exit a last line says what could not be saved: here, the window's size and place.
        ASSERT_EQ(2u, lines.size()) << readBytes(errors);
        EXPECT_EQ(0u, lines[1].rfind("progress not saved", 0)) << lines[1];
        EXPECT_NE(std::string::npos, lines[1].find("windowWidth=")) << lines[1];
    } else {
        EXPECT_EQ(bad.outcome == Outcome::UsedAsIs ? 0u : 1u, lines.size()) << readBytes(errors);
    }
    if (bad.outcome == Outcome::MovedAside) {
        EXPECT_EQ(1u, movedAside(root).size());
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, BadStoreTest, ::testing::ValuesIn(kBadStores),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

// A fresh data home of its own, open to nobody but us.
std::string freshRoot() {
    char dir[] = "/tmp/doviveduzuz-store-XXXXXX";
    return mkdtemp(dir) ? dir : "";
}

// Waits for `done` with a generous deadline, stepping the harness on as it waits.
bool stepUntil(PlaytestProcess& pt, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline || pt.ask("step 10") != "ok") return false;
    }
    return true;
}

} // namespace

// Whatever sits in the file's place, nothing waits for it: a FIFO would block the first open
// for ever, before any window.
TEST(FifoStore, AFifoInTheFilesPlaceIsSetAsideWithoutWaiting) {
    for (const char* program : {DOVI_BINARY_DIR "/playtest", DOVI_BINARY_DIR "/doviveduzuz"}) {
        SCOPED_TRACE(program);
        const std::string root = freshRoot();
        fs::create_directories(storeFolder(root));
        ASSERT_EQ(0, mkfifo(storePath(root).c_str(), 0644));
        const std::string errors = root + "/errors.txt";
        PlaytestProcess pt(program, {"XDG_DATA_HOME=" + root + "/data", "SDL_VIDEODRIVER=dummy"}, errors);
        for (const char* command : {"seed 1", "step 2", "quit"})
            pt.send(command);
        const auto said = [&] { return readBytes(errors).find("moved it to") != std::string::npos; };
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!said() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        // The game ends on a signal, the harness on its `quit`.
        if (std::string(program).ends_with("doviveduzuz")) pt.signal(SIGTERM);
        pt.closeInput();
        const auto status = pt.waitFor(std::chrono::seconds(60));
        if (!status) pt.kill(SIGKILL);
        ASSERT_TRUE(status) << "hangs on the FIFO";
        EXPECT_TRUE(PlaytestProcess::exitedWith(*status, 0)) << readBytes(errors);
        EXPECT_TRUE(said()) << readBytes(errors);
        const auto aside = movedAside(root);
        ASSERT_EQ(1u, aside.size());
        EXPECT_TRUE(fs::is_fifo(aside[0]));
        EXPECT_EQ("ok", StoreFile::read(storePath(root)).integrity);
        fs::remove_all(root);
    }
}

// Bytes written into the save's schema while the game runs: the next start could not read it.
// The game holds every value, so it keeps the damaged file aside and writes them all afresh,
// on finding it after a sync, and at exit.
TEST(DamagedWhileRunning, DamageInsideTheSaveIsMendedFromWhatTheGameHolds) {
    const std::string root = freshRoot();
    fs::create_directories(storeFolder(root));
    ASSERT_TRUE(StoreFile::write(storePath(root), {{"coinScore", 500}, {"HS", 13}, {"timeNo", 2}}));
    const auto damage = [&] {
        std::fstream file(storePath(root), std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(3900);
        for (unsigned i = 0, x = 7; i < 150; ++i)
            file.put(static_cast<char>((x = x * 1103515245u + 12345u) >> 16));
    };
    const std::string errors = root + "/errors.txt";
    PlaytestProcess pt(DOVI_BINARY_DIR "/playtest", {"XDG_DATA_HOME=" + root + "/data"}, errors);
    for (const std::string& command :
         {std::string("seed 1"), std::string("open shop 0"), std::string("step 2"),
          Spot::tap(Spot::kLifeIcon), std::string("step 30")})
        ASSERT_EQ("ok", pt.ask(command).value_or("<no answer>")) << command;
    ASSERT_TRUE(stepUntil(pt, [&] { return StoreFile::read(storePath(root)).value("lifeNo") == 1; }));

    // While it plays: the next purchase's sync finds it.
    damage();
    ASSERT_EQ("ok", pt.ask(Spot::tap(Spot::kTimeIcon)).value_or("<no answer>"));
    EXPECT_TRUE(stepUntil(pt, [&] { return movedAside(root).size() == 1; })) << readBytes(errors);
    ASSERT_TRUE(stepUntil(pt, [&] { return StoreFile::read(storePath(root)).value("timeNo") == 3; }));

    // At exit, with nothing bought after it. Damage the next sync would overwrite heals by
    // itself: it is done again until a reader from outside finds it.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    damage();
    while (StoreFile::read(storePath(root)).integrity == "ok" &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        damage();
    }
    pt.send("quit");
    pt.closeInput();
    EXPECT_TRUE(PlaytestProcess::exitedWith(pt.wait(), 0));
    EXPECT_EQ(2u, movedAside(root).size()) << readBytes(errors);
    const StoreFile store = StoreFile::read(storePath(root));
    EXPECT_EQ("ok", store.integrity);
    EXPECT_EQ(350, store.value("coinScore"));
    EXPECT_EQ(13, store.value("HS"));
    EXPECT_EQ(3, store.value("timeNo"));
    EXPECT_EQ(1, store.value("lifeNo"));
    EXPECT_NE(std::string::npos, readBytes(errors).find("damaged while the game ran")) << readBytes(errors);
    fs::remove_all(root);
}
