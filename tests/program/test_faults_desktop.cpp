// What a desktop does to a running game, met by the harness and the real program as processes
// of their own: a second copy started on the same save, another program holding the store, a
// store that cannot be written at start and can be later, no display at all, and the game's
// debug lines. Every case ends with nothing lost and a word the player can see.
#include "harness/playtest/Playtest.h"
#include "harness/playtest/Spots.h"
#include "harness/soak/PlaytestProcess.h"
#include "harness/soak/StoreFile.h"
#include "tests/support/TempDirs.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

constexpr const char* kHarness = DOVI_BINARY_DIR "/playtest";
constexpr const char* kGame = DOVI_BINARY_DIR "/doviveduzuz";
constexpr int kNobody = 65534;

std::string freshHome() {
    char dir[] = "/tmp/doviveduzuz-desktop-XXXXXX";
    const std::string home = TempDirs::keep(mkdtemp(dir)) ? dir : "";
    // Open to the unprivileged user too.
    fs::permissions(home, fs::perms(0755));
    return home;
}
std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every file of the folder with its bytes: equal before and after means nothing was written.
// What a second copy could have changed: the files in the folder and the values saved. Not the
// bytes: the first copy goes on syncing and checking its own file meanwhile.
std::string snapshot(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with("-shm") && !name.ends_with("-wal")) names.insert(name);
    }
    std::string all;
    for (const std::string& name : names)
        all += name + "\n";
    for (const auto& [key, row] : StoreFile::read(folder + "/UserDefault.db").rows)
        all += key + "=" + std::to_string(row.first) + ":" + std::to_string(row.second) + "\n";
    return all;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A store as an earlier run left it.
void earlierRun(const std::string& home, const std::map<std::string, int>& values) {
    fs::create_directories(StoreFile::folderIn(home));
    ASSERT_TRUE(StoreFile::write(StoreFile::pathIn(home), values));
}

// A harness process with answers checked as it goes.
class Harness {
  public:
    Harness(const std::string& home, const std::string& errors, std::vector<std::string> env = {},
            int uid = -1)
        : _process(kHarness, withHome(home, std::move(env)), errors, uid, uid) {}
    std::string ask(const std::string& command) { return _process.ask(command).value_or("<no answer>"); }
    void expectOk(std::initializer_list<std::string> commands) {
        for (const std::string& command : commands)
            EXPECT_EQ("ok", ask(command)) << command;
    }
    json askJson(const std::string& command) { return json::parse(ask(command), nullptr, false); }
    // The note that says progress is not being saved is on screen.
    bool showsSavingNotice() {
        for (const json& note : askJson("notes"))
            if (note.value("key", "") == "saving") return true;
        return false;
    }
    // Ends it with `quit`: its exit status.
    int quit() {
        _process.send("quit");
        _process.closeInput();
        return _process.wait();
    }
    PlaytestProcess& process() { return _process; }

  private:
    static std::vector<std::string> withHome(const std::string& home, std::vector<std::string> env) {
        env.push_back("XDG_DATA_HOME=" + home);
        return env;
    }
    PlaytestProcess _process;
};

} // namespace

TEST(FaultsDesktop, ASecondCopyOnTheSameSaveIsRefusedAndWritesNothing) {
    const std::string home = freshHome();
    earlierRun(home, {{"coinScore", 1000}});
    Harness first(home, home + "/first.txt");
    first.expectOk({"seed 1", "open shop 0", "step 2"});
    const std::string before = snapshot(StoreFile::folderIn(home));

    // The same save reached other ways: through a hard link in another folder, a bind mount of
    // the folder (root only), and from another network namespace, as sandboxes start programs.
    const std::string linked = home + "/linked";
    fs::create_directories(StoreFile::folderIn(linked));
    fs::create_hard_link(StoreFile::pathIn(home), StoreFile::pathIn(linked));
    const std::string mounted = home + "/mounted";
    fs::create_directories(mounted);
    const bool bound = std::system(("mount --bind " + home + " " + mounted + " 2>/dev/null").c_str()) == 0;
    const std::string sandboxed = home + "/sandboxed.sh";
    std::ofstream(sandboxed) << "#!/bin/sh\nexec unshare -n " << kHarness << "\n";
    fs::permissions(sandboxed, fs::perms(0755));
    const bool unshares = std::system("unshare -n true 2>/dev/null") == 0;
    struct Way {
        std::string program, home;
    };
    std::vector<Way> ways = {{kGame, home}, {kHarness, home}, {kHarness, linked}};
    if (bound) ways.push_back({kHarness, mounted});
    if (unshares) ways.push_back({sandboxed, home});

    // A double click on the launcher: the game program, and the harness, started again.
    for (const Way& way : ways) {
        SCOPED_TRACE(way.program + " on " + way.home);
        const std::string errors = home + "/second.txt";
        PlaytestProcess second(
            way.program, {"XDG_DATA_HOME=" + way.home, "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"},
            errors);
        // What it would buy, were it let in.
        for (const std::string& command :
             {std::string("open shop 500"), Spot::tap(Spot::kLifeIcon), std::string("step 5")})
            second.send(command);
        second.closeInput();
        const auto status = second.waitFor(std::chrono::seconds(30));
        ASSERT_TRUE(status) << "the second copy runs on";
        EXPECT_TRUE(PlaytestProcess::exitedWith(*status, 0)) << "wait status " << *status;
        EXPECT_TRUE(contains(readBytes(errors), "already running")) << readBytes(errors);
        EXPECT_EQ(std::nullopt, second.readLine()) << "it answered commands";
        EXPECT_EQ(before, snapshot(StoreFile::folderIn(home))) << "the second copy wrote to the save";
    }
    if (bound) {
        EXPECT_EQ(0, std::system(("umount " + mounted).c_str()));
    }

    // The first copy plays on and saves as ever.
    first.expectOk({Spot::tap(Spot::kTimeIcon), "step 2"});
    EXPECT_TRUE(PlaytestProcess::exitedWith(first.quit(), 0));
    const StoreFile store = StoreFile::read(StoreFile::pathIn(home));
    EXPECT_EQ(995, store.value("coinScore"));
    EXPECT_EQ(1, store.value("timeNo"));
}

TEST(FaultsDesktop, ACopyKilledOutrightLeavesNoLockBehind) {
    const std::string home = freshHome();
    earlierRun(home, {{"coinScore", 1000}});
    {
        Harness killed(home, "");
        killed.expectOk({"seed 1", "open shop 0", "step 2"});
        killed.process().kill(SIGKILL);
    }
    // The real game starts, and keeps running until told to stop.
    const std::string errors = home + "/game.txt";
    PlaytestProcess game(kGame, {"XDG_DATA_HOME=" + home, "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"},
                         errors);
    EXPECT_FALSE(game.waitFor(std::chrono::seconds(2))) << readBytes(errors);
    game.signal(SIGTERM);
    EXPECT_TRUE(PlaytestProcess::exitedWith(game.wait(), 0));
    EXPECT_FALSE(contains(readBytes(errors), "already running")) << readBytes(errors);
    EXPECT_EQ(1000, StoreFile::read(StoreFile::pathIn(home)).value("coinScore"));
}

TEST(FaultsDesktop, NoTestRunsTwoGamesOnOneFolderInOneProcess) {
    std::optional<Playtest> first(std::in_place);
    EXPECT_THROW(Playtest second, Playtest::AlreadyRunning);
    first.reset();
    EXPECT_NO_THROW(Playtest third);
}

TEST(FaultsDesktop, AnotherProgramHoldingTheStoreNeverSlowsAFrame) {
    const std::string home = freshHome();
    earlierRun(home, {{"coinScore", 1000}});
    Harness pt(home, home + "/errors.txt");
    pt.expectOk({"seed 1", "open shop 0", "step 2"});
    sqlite3* other = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(StoreFile::pathIn(home).c_str(), &other));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr));

    pt.expectOk({Spot::tap(Spot::kTimeIcon)});
    // Each frame waited half a second on the lock: a second of play took thirty. The bound is
    // far from both, so a loaded machine does not decide it.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ("ok", pt.ask("step 60"));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::seconds(10));
    RecordProperty("ms_for_60_frames_while_locked",
                   static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
    EXPECT_EQ(0, StoreFile::read(StoreFile::pathIn(home)).value("timeNo"));
    EXPECT_EQ(1, pt.askJson("store").value("timeNo", -1)) << "bought in memory all the same";
    pt.expectOk({"step 30"});
    EXPECT_TRUE(pt.showsSavingNotice()) << "no word on screen";

    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    pt.expectOk({"step 1"});
    const StoreFile store = StoreFile::read(StoreFile::pathIn(home));
    EXPECT_EQ(1, store.value("timeNo"));
    EXPECT_EQ(995, store.value("coinScore"));
    EXPECT_FALSE(pt.showsSavingNotice());
    EXPECT_TRUE(PlaytestProcess::exitedWith(pt.quit(), 0));
}

TEST(FaultsDesktop, AStoreUnwritableAtStartSavesEverythingOnceItCanAndSaysWhatItCouldNot) {
    const std::string home = freshHome();
    earlierRun(home, {{"coinScore", 700}, {"timeNo", 2}});
    // Root ignores permissions: then the harness runs as "nobody", who owns the save.
    const int uid = geteuid() == 0 ? kNobody : -1;
    if (uid >= 0 && !PlaytestProcess::reachableByAll(DOVI_BINARY_DIR "/playtest"))
        GTEST_SKIP() << "the build folder " DOVI_BINARY_DIR " is not open to the unprivileged user";
    if (uid >= 0) {
        for (const std::string& path : {StoreFile::folderIn(home), StoreFile::pathIn(home)})
            ASSERT_EQ(0, chown(path.c_str(), kNobody, kNobody));
    }
    fs::permissions(StoreFile::folderIn(home), fs::perms(0555));

    // Still unwritable at exit: the purchases are lost, and standard error says which.
    {
        Harness pt(home, home + "/exit.txt", {}, uid);
        pt.expectOk({"seed 3", "open shop 500", "step 2", Spot::tap(Spot::kLifeIcon), "step 2"});
        EXPECT_TRUE(pt.showsSavingNotice());
        EXPECT_TRUE(PlaytestProcess::exitedWith(pt.quit(), 0));
        const std::string errors = readBytes(home + "/exit.txt");
        EXPECT_TRUE(contains(errors, "progress not saved to " + StoreFile::pathIn(home))) << errors;
        EXPECT_TRUE(contains(errors, "coinScore=400")) << errors;
        EXPECT_TRUE(contains(errors, "lifeNo=1")) << errors;
    }
    EXPECT_EQ(700, StoreFile::read(StoreFile::pathIn(home)).value("coinScore"));

    // Made writable mid-session (a disk freed, a folder opened up): everything is saved.
    Harness pt(home, home + "/errors.txt", {}, uid);
    pt.expectOk({"seed 3", "open shop 500", "step 2", Spot::tap(Spot::kLifeIcon), "step 2"});
    EXPECT_EQ(700, StoreFile::read(StoreFile::pathIn(home)).value("coinScore"));
    fs::permissions(StoreFile::folderIn(home), fs::perms(0755));
    pt.expectOk({"step 150"});
    // The earlier run's save is turned into WAL mode off the frame first.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (StoreFile::read(StoreFile::pathIn(home)).value("lifeNo") != 1 &&
           std::chrono::steady_clock::now() < deadline)
        pt.expectOk({"step 6"});
    const StoreFile store = StoreFile::read(StoreFile::pathIn(home));
    EXPECT_EQ(400, store.value("coinScore"));
    EXPECT_EQ(1, store.value("lifeNo"));
    EXPECT_EQ(2, store.value("timeNo"));
    EXPECT_FALSE(pt.showsSavingNotice());
    EXPECT_TRUE(contains(pt.ask("log"), "from now on"));
    EXPECT_TRUE(PlaytestProcess::exitedWith(pt.quit(), 0));
    EXPECT_FALSE(contains(readBytes(home + "/errors.txt"), "not saved"));
}

TEST(FaultsDesktop, AValueOutOfRangeIsResetAloneAndTheRestOfTheProgressKept) {
    const std::string home = freshHome();
    earlierRun(home, {{"coinScore", 700}, {"HS", 13}});
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(StoreFile::pathIn(home).c_str(), &db));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db,
                                      "INSERT INTO kv VALUES('lifeNo', 0, 2147483648);"
                                      "INSERT INTO kv VALUES('timeNo', 0, 9223372036854775808.0);"
                                      "INSERT INTO kv VALUES('Button1', 1, 'yes');",
                                      nullptr, nullptr, nullptr));
    sqlite3_close(db);

    Harness pt(home, home + "/errors.txt");
    EXPECT_EQ(json({{"coinScore", 700}, {"HS", 13}}), pt.askJson("store"));
    const std::string log = pt.ask("log");
    EXPECT_TRUE(contains(log, "\\\"lifeNo\\\"") && contains(log, "\\\"timeNo\\\"") &&
                contains(log, "\\\"Button1\\\""))
        << log;
    EXPECT_TRUE(PlaytestProcess::exitedWith(pt.quit(), 0));
    EXPECT_TRUE(contains(readBytes(home + "/errors.txt"), "kept a copy of the file"));
    const StoreFile store = StoreFile::read(StoreFile::pathIn(home));
    EXPECT_EQ(2u, store.rows.size());
    EXPECT_EQ(700, store.value("coinScore"));
}

TEST(FaultsDesktop, NoDisplayEndsTheGameAtOnceWithOneLine) {
    const std::string home = freshHome();
    // Looking for an X server, SDL starts libdbus, which keeps its globals to the end by design;
    // the sanitizer build is not to count that as ours.
    const std::string suppressions = home + "/leaks.supp";
    std::ofstream(suppressions) << "leak:libdbus-1.so\n";
    // No display named at all, and one named where nothing listens.
    for (const char* display : {"DISPLAY", "DISPLAY=:97"}) {
        SCOPED_TRACE(display);
        const std::string errors = home + "/errors.txt";
        PlaytestProcess game(kGame,
                             {"XDG_DATA_HOME=" + home, display, "WAYLAND_DISPLAY", "SDL_VIDEODRIVER",
                              "SDL_AUDIODRIVER=dummy",
                              "LSAN_OPTIONS=print_suppressions=0:suppressions=" + suppressions},
                             errors);
        const auto status = game.waitFor(std::chrono::seconds(30));
        if (!status) game.kill(SIGKILL);
        ASSERT_TRUE(status) << "the game runs on where nobody can see it";
        EXPECT_TRUE(PlaytestProcess::exitedWith(*status, 1)) << "wait status " << *status;
        const auto lines = linesOf(readBytes(errors));
        ASSERT_EQ(1u, lines.size()) << readBytes(errors);
        EXPECT_EQ(0u, lines[0].rfind("doviveduzuz: no display", 0)) << lines[0];
        EXPECT_FALSE(fs::exists(StoreFile::folderIn(home))) << "the save was touched";
    }
}

TEST(FaultsDesktop, DebugLinesReachStandardErrorOnlyWhenAskedFor) {
    for (const bool asked : {false, true}) {
        SCOPED_TRACE(asked ? "DOVIVEDUZUZ_DEBUG=1" : "no DOVIVEDUZUZ_DEBUG");
        const std::string home = freshHome();
        Harness pt(home, home + "/errors.txt", {asked ? "DOVIVEDUZUZ_DEBUG=1" : "DOVIVEDUZUZ_DEBUG"});
        // The cut-scene writes the coins it carries to the debug log.
        pt.expectOk({"seed 1", "open event 42 0 0", "step 2"});
        EXPECT_EQ(json::array({"42"}), pt.askJson("log")) << "the harness records every line";
        EXPECT_TRUE(PlaytestProcess::exitedWith(pt.quit(), 0));
        EXPECT_EQ(asked, contains(readBytes(home + "/errors.txt"), "doviveduzuz: 42\n"))
            << readBytes(home + "/errors.txt");
    }
}

TEST(FaultsDesktop, ASlowDiskNeverHoldsUpAFrame) {
#ifdef DOVI_SANITIZE_BUILD
    GTEST_SKIP() << "a preloaded library cannot come before the sanitizers' own";
#endif
    const std::string home = freshHome();
    earlierRun(home, {{"coinScore", 1000}});
    const std::string syncs = home + "/syncs.txt";
    Harness pt(home, home + "/errors.txt",
               {"LD_PRELOAD=" DOVI_BINARY_DIR "/libslow_sync.so", "DOVI_SYNC_LOG=" + syncs,
                "DOVI_SYNC_DELAY_MS=300"});
    pt.expectOk({"seed 1", "open shop 0", "step 2"});
    // Opening may sync; no frame after it may.
    fs::remove(syncs);
    pt.expectOk({"tap 418 812", "step 60", "tap 1040 812", "step 60"});
    EXPECT_FALSE(contains(readBytes(syncs), "main")) << readBytes(syncs);
    EXPECT_TRUE(PlaytestProcess::exitedWith(pt.quit(), 0));
    EXPECT_TRUE(contains(readBytes(syncs), "thread")) << "never synced";
    EXPECT_EQ(1000 - 5 - 100, StoreFile::read(StoreFile::pathIn(home)).value("coinScore"));
}

// A save in rollback-journal mode (as an older store or another tool leaves it) is turned into a
// WAL one, which syncs several times: never on the main thread, so never before the first picture.
TEST(FaultsDesktop, ASaveInRollbackJournalModeIsTurnedWithoutHoldingUpTheFirstPicture) {
#ifdef DOVI_SANITIZE_BUILD
    GTEST_SKIP() << "a preloaded library cannot come before the sanitizers' own";
#endif
    const std::string home = freshHome();
    earlierRun(home, {{"coinScore", 1000}});
    const std::string syncs = home + "/syncs.txt";
    Harness pt(home, home + "/errors.txt",
               {"LD_PRELOAD=" DOVI_BINARY_DIR "/libslow_sync.so", "DOVI_SYNC_LOG=" + syncs,
                "DOVI_SYNC_DELAY_MS=300"});
    pt.expectOk({"seed 1", "step 2", "open shop 0", "step 2", Spot::tap(Spot::kTimeIcon), "step 60"});
    EXPECT_FALSE(contains(readBytes(syncs), "main")) << readBytes(syncs);
    EXPECT_TRUE(PlaytestProcess::exitedWith(pt.quit(), 0));
    EXPECT_EQ(995, StoreFile::read(StoreFile::pathIn(home)).value("coinScore"));
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK,
              sqlite3_open_v2(StoreFile::pathIn(home).c_str(), &db, SQLITE_OPEN_READONLY, nullptr));
    std::string mode;
    sqlite3_exec(
        db, "PRAGMA journal_mode",
        [](void* out, int, char** values, char**) {
            *static_cast<std::string*>(out) = values[0] ? values[0] : "";
            return 0;
        },
        &mode, nullptr);
    sqlite3_close(db);
    EXPECT_EQ("wal", mode);
}
