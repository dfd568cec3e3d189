// One copy per save at every moment, met by the harness and the real program as processes of
// their own: while the save is being rewritten, and when a copy finds another has taken it over.
#include "harness/playtest/Spots.h"
#include "harness/soak/PlaytestProcess.h"
#include "harness/soak/StoreFile.h"
#include "tests/support/TempDirs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kHarness = DOVI_BINARY_DIR "/playtest";
constexpr const char* kGame = DOVI_BINARY_DIR "/doviveduzuz";

std::string freshHome() {
    char dir[] = "/tmp/doviveduzuz-lock-XXXXXX";
    return TempDirs::keep(mkdtemp(dir)) ? dir : "";
}
std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
std::string script(const std::string& home, const std::string& program) {
    const std::string path = home + "/" + fs::path(program).filename().string() + "-unshared.sh";
    std::ofstream(path) << "#!/bin/sh\nexec unshare -n " << program << "\n";
    fs::permissions(path, fs::perms(0755));
    return path;
}

} // namespace

// The save deleted under a running copy, a second one started before the first writes it
// again: through a bind mount of the folder, or in a network namespace of its own.
TEST(FaultsLock, ASecondCopyIsRefusedWhileTheSaveIsBeingRewritten) {
    const std::string home = freshHome();
    const std::string folder = StoreFile::folderIn(home);
    fs::create_directories(folder);
    ASSERT_TRUE(StoreFile::write(StoreFile::pathIn(home), {{"coinScore", 1000}}));
    PlaytestProcess first(kHarness, {"XDG_DATA_HOME=" + home}, home + "/first.txt");
    for (const char* command : {"seed 1", "open shop 0", "step 2"})
        ASSERT_EQ("ok", first.ask(command).value_or("<no answer>")) << command;

    const std::string mounted = home + "/mounted";
    fs::create_directories(mounted);
    const bool bound = std::system(("mount --bind " + home + " " + mounted + " 2>/dev/null").c_str()) == 0;
    const bool unshares = std::system("unshare -n true 2>/dev/null") == 0;
    if (!bound && !unshares) GTEST_SKIP() << "this machine allows neither bind mounts nor unshare -n";
    struct Way {
        std::string program, home;
    };
    std::vector<Way> ways;
    for (const char* program : {kGame, kHarness}) {
        if (bound) ways.push_back({program, mounted});
        if (unshares) ways.push_back({script(home, program), home});
    }

    for (const Way& way : ways) {
        SCOPED_TRACE(way.program + " on " + way.home);
        // The first copy notices within a second and writes everything again: until then no
        // save file exists, the moment the lock must not lapse.
        for (const std::string& file : namesIn(folder))
            fs::remove(folder + "/" + file);
        const std::string errors = home + "/second.txt";
        PlaytestProcess second(
            way.program, {"XDG_DATA_HOME=" + way.home, "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"},
            errors);
        for (const std::string& command :
             {std::string("open shop 500"), Spot::tap(Spot::kLifeIcon), std::string("step 90")})
            second.send(command);
        second.closeInput();
        const auto status = second.waitFor(std::chrono::seconds(60));
        if (!status) second.kill(SIGKILL);
        ASSERT_TRUE(status) << "the second copy runs on";
        EXPECT_TRUE(PlaytestProcess::exitedWith(*status, 0)) << "wait status " << *status;
        EXPECT_TRUE(contains(readBytes(errors), "already running")) << readBytes(errors);
        EXPECT_EQ(std::vector<std::string>{}, namesIn(folder)) << "the second copy wrote to the save";

        // The first writes its save again and buys on.
        ASSERT_EQ("ok", first.ask("step 90").value_or("<no answer>"));
        EXPECT_EQ(1000, StoreFile::read(StoreFile::pathIn(home)).value("coinScore"));
    }
    if (bound) {
        EXPECT_EQ(0, std::system(("umount " + mounted).c_str()));
    }
    ASSERT_EQ("ok", first.ask(Spot::tap(Spot::kTimeIcon)).value_or("<no answer>"));
    first.send("quit");
    first.closeInput();
    EXPECT_TRUE(PlaytestProcess::exitedWith(first.wait(), 0));
    EXPECT_EQ(995, StoreFile::read(StoreFile::pathIn(home)).value("coinScore"));
    for (const std::string& name : namesIn(folder))
        EXPECT_FALSE(contains(name, ".bad-")) << name;
}

// The whole folder deleted under a running copy and a second copy started meanwhile: the first
// finds its save taken over and stops saving, rather than setting the other's file aside.
TEST(FaultsLock, ACopyWhoseSaveAnotherTookOverStopsWritingInsteadOfFighting) {
    const std::string home = freshHome();
    const std::string folder = StoreFile::folderIn(home);
    PlaytestProcess first(kHarness, {"XDG_DATA_HOME=" + home}, home + "/first.txt");
    for (const std::string& command :
         {std::string("seed 1"), std::string("open shop 300"), std::string("step 2"),
          Spot::tap(Spot::kTimeIcon), std::string("step 2")})
        ASSERT_EQ("ok", first.ask(command).value_or("<no answer>")) << command;
    fs::remove_all(folder);

    PlaytestProcess second(kHarness, {"XDG_DATA_HOME=" + home}, home + "/second.txt");
    for (const std::string& command :
         {std::string("seed 1"), std::string("open shop 700"), std::string("step 2"),
          Spot::tap(Spot::kLifeIcon), std::string("step 2")})
        ASSERT_EQ("ok", second.ask(command).value_or("<no answer>")) << command;
    // A few seconds of both playing on: the first buys again, the second looks on its save.
    for (const std::string& command :
         {std::string("step 200"), Spot::tap(Spot::kTimeIcon), std::string("step 200")})
        ASSERT_EQ("ok", first.ask(command).value_or("<no answer>")) << command;
    ASSERT_EQ("ok", second.ask("step 200").value_or("<no answer>"));
    const std::string notes = first.ask("notes").value_or("");
    EXPECT_TRUE(contains(notes, "Progress not saved")) << notes;

    for (PlaytestProcess* copy : {&first, &second}) {
        copy->send("quit");
        copy->closeInput();
        EXPECT_TRUE(PlaytestProcess::exitedWith(copy->wait(), 0));
    }
    EXPECT_EQ((std::vector<std::string>{"UserDefault.db"}), namesIn(folder)) << "files set aside";
    const StoreFile store = StoreFile::read(StoreFile::pathIn(home));
    EXPECT_EQ(600, store.value("coinScore")) << "the second copy's purchase is lost";
    EXPECT_EQ(1, store.value("lifeNo"));
    EXPECT_EQ(0, store.value("timeNo")) << "the first copy wrote on";
    EXPECT_TRUE(contains(readBytes(home + "/first.txt"), "stops saving")) << readBytes(home + "/first.txt");
}
