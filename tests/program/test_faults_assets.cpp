// Missing and damaged assets: for every file the game loads, the whole loop is played once with
// that file gone and once with it replaced by garbage. The game must not crash, and must say
// so in exactly one log line naming the file.
//
// The loop is played once in-process on the intact assets, reading the game to play it well
// (every offer bought, stages won until obstructions have shown every picture, a round lost,
// back to the shop and the title); the commands are kept and then replayed, one harness process
// per damaged file. The harness used has a real (dummy-driver) audio device, so damaged sounds
// are decoded as on a player's machine.
#include "engine/app/cocos2d.h"
#include "game/round/ButtonManager.h"
#include "game/round/GameButton.h"
#include "game/round/GameLayer.h"
#include "game/round/GameScene.h"
#include "game/round/JiyamaSprite.h"
#include "game/round/TargetManager.h"
#include "game/round/TargetSprite.h"
#include "game/round/result/UpgradeButton.h"
#include "game/title/TitleScene.h"
#include "harness/playtest/Playtest.h"
#include "harness/playtest/Ring.h"
#include "harness/playtest/Spots.h"
#include "harness/soak/PlaytestProcess.h"
#include "harness/soak/StoreFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

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

constexpr int kFps = 60;
const std::string kAssets = DOVI_SOURCE_DIR "/assets";

// The files the game loads: the manifest less its first line, which names those it does not.
std::vector<std::string> loadedFiles() {
    std::vector<std::string> files;
    std::ifstream manifest(kAssets + "/manifest.txt");
    for (std::string line; std::getline(manifest, line);)
        if (!line.empty() && line[0] != '#') files.push_back(line);
    return files;
}

std::string freshHome() {
    char dir[] = "/tmp/doviveduzuz-assets-XXXXXX";
    const std::string home = mkdtemp(dir) ? dir : "";
    fs::create_directories(home + "/doviveduzuz");
    // Enough coins for every offer, and one press more.
    StoreFile::write(home + "/doviveduzuz/UserDefault.db", {{"coinScore", 1000}});
    return home;
}

// Plays the loop on the intact assets and keeps every command it sent.
class LoopRecorder {
  public:
    explicit LoopRecorder(Playtest& pt) : _pt(pt) {}

    std::vector<std::string> record() {
        run("seed 11");
        run("step 2");
        openAndClosePanel(); // the title's quit panel
        // The options, the question before starting over, the credits and the controls page.
        for (const char* step : {"options open", "options startover", "options cancel", "options credits",
                                 "options back", "options close", "controls open", "controls close"}) {
            run(step);
            run("step 2");
        }
        run("tap 960 540"); // title
        run("step 160");
        // Every offer to its last level, then a press on a sold-out offer.
        for (int i = 0; i < 3; ++i) {
            run(Spot::tap(Spot::kTimeIcon));
            run("step 3");
        }
        for (int i = 0; i < 3; ++i) {
            run(Spot::tap(Spot::kLifePlate));
            run("step 3");
        }
        run(Spot::tap(Spot::kTimePlate));
        run("step 3");
        run(Spot::tap(Spot::kStart)); // start
        // The cut-scene, watched to its end.
        for (int n = 0; n < 20 * kFps && !layer(); n += 10)
            run("step 10");
        if (!layer()) return _script;
        playRound();
        // The shop from the result panel, then its title button, then the title for a while.
        run(Spot::tap(Spot::kGoShop));
        run("step 90");
        run(Spot::tap(Spot::kTitle));
        run("step 150");
        return _script;
    }

    bool reachedTitleAgain() const { return dynamic_cast<TitleScene*>(_pt.runningScene()) != nullptr; }
    std::set<int> obstructionsSeen() const { return _seen; }
    int stagesWon() const { return _won; }

  private:
    void run(const std::string& command) {
        _script.push_back(command);
        _pt.execute(command);
        if (GameLayer* l = layer(); l && l->targetManager)
            for (JiyamaSprite* j : l->targetManager->jiyamas)
                if (j && j->shownNo >= 0) _seen.insert(j->shownNo);
    }
    // A panel reads its pictures when it first opens.
    void openAndClosePanel() {
        run("key Escape");
        run("step 2");
        run("key Escape");
        run("step 2");
    }
    GameLayer* layer() const {
        auto* round = dynamic_cast<GameScene*>(_pt.runningScene());
        return round ? round->gameLayer : nullptr;
    }
    void tapButton(GameButton* button) {
        cocos2d::Node* menu = button->getChildren().back();
        cocos2d::Node* item = menu->getChildren().front();
        const cocos2d::Size size = item->getContentSize();
        const cocos2d::Vec2 at = item->convertToWorldSpace(cocos2d::Vec2(size.width / 2, size.height / 2));
        std::ostringstream command;
        command << "tap " << at.x << " " << at.y;
        run(command.str());
        run("step 2");
    }
    GameButton* showing(int element) { return Ring::buttonShowing(layer()->buttonManager, element); }
    bool ringSettled() { return Ring::settled(layer()->buttonManager); }

    // Wins stages, with a wrong press, a back press and the bonus on the way, until every
    // obstruction picture has shown; then lets the clock end the round.
    void playRound() {
        for (int stage = 1; stage < 80 && (_seen.size() < 16 || _won < 2); ++stage) {
            GameLayer* l = layer();
            for (int n = 0; n < 60 * kFps && l->stageCount < stage; n += 5)
                run("step 5");
            for (int n = 0; n < kFps && (!l->buttonManager || !ringSettled()); ++n)
                run("step 1");
            if (l->stageCount != stage || !l->buttonManager) return;
            // Obstructions flicker through their pictures; watch them until all have shown.
            while (l->targetManager->jiyamas[0] && _seen.size() < 16 && l->stageCount == stage &&
                   l->buttonManager)
                run("step 6");
            if (l->stageCount != stage || !l->buttonManager) continue;
            const int bonus = l->buttonManager->bonusIndex;
            if (bonus >= 0 && bonus < ButtonManager::kButtons) {
                tapButton(l->buttonManager->buttons[bonus]);
                run(Spot::tap(Spot::kBack)); // back
                run("step 2");
            }
            if (stage == 1) {
                openAndClosePanel(); // the round's pause panel
                tapButton(showing(l->targetManager->targets[0]->kind % 6 + 1));
                run(Spot::tap(Spot::kBack));
                run("step 2");
            }
            for (TargetSprite* target : l->targetManager->targets)
                if (GameButton* b = showing(target->kind)) tapButton(b);
            ++_won;
        }
        // Lost to the clock, whatever the lives left; then the result panel.
        for (int n = 0; n < 400 * kFps && layer() && layer()->upgradeButton->getChildrenCount() == 0; n += 30)
            run("step 30");
        run("step 10");
    }

    Playtest& _pt;
    std::vector<std::string> _script;
    std::set<int> _seen;
    int _won = 0;
};

struct Replay {
    int status = -1;
    std::vector<std::string> answers;
    std::vector<std::string> log;
};

// Replays the script in a harness process of its own on the given asset folder.
Replay replay(const std::vector<std::string>& script, const std::string& assets) {
    const std::string home = freshHome();
    PlaytestProcess pt(DOVI_BINARY_DIR "/playtest",
                       {"XDG_DATA_HOME=" + home, "DOVIVEDUZUZ_ASSETS=" + assets, "SDL_AUDIODRIVER=dummy"}, {},
                       -1, -1, {"--audible"});
    for (const std::string& command : script)
        pt.send(command);
    pt.send("log");
    pt.send("store");
    pt.closeInput();
    Replay r;
    while (auto line = pt.readLine())
        r.answers.push_back(*line);
    r.status = pt.wait();
    if (r.answers.size() >= 2) {
        const json log = json::parse(r.answers[r.answers.size() - 2], nullptr, false);
        if (log.is_array())
            for (const json& line : log)
                r.log.push_back(line.get<std::string>());
    }
    fs::remove_all(home);
    return r;
}

// An asset folder that is the real one except for one file: gone, or garbage in its place.
enum class Damage { Removed, Garbage };
std::string damagedCopy(const std::string& root, const std::string& file, Damage damage) {
    for (const auto& entry : fs::recursive_directory_iterator(kAssets)) {
        const fs::path relative = entry.path().lexically_relative(kAssets);
        const fs::path target = fs::path(root) / relative;
        if (entry.is_directory()) {
            fs::create_directories(target);
        } else if (relative.string() != file) {
            fs::create_directories(target.parent_path());
            fs::create_symlink(entry.path(), target);
        }
    }
    if (damage == Damage::Garbage) {
        std::ofstream out(fs::path(root) / file, std::ios::binary);
        for (unsigned i = 0, x = 2463534242u; i < 8192; ++i) {
            x ^= x << 13, x ^= x >> 17, x ^= x << 5;
            out.put(static_cast<char>(x & 0xff));
        }
    }
    return root;
}

// The lines that name one of the game's files.
std::vector<std::string> linesAboutFiles(const std::vector<std::string>& log,
                                         const std::vector<std::string>& files) {
    std::vector<std::string> out;
    for (const std::string& line : log)
        for (const std::string& file : files)
            if (line.find(file) != std::string::npos) {
                out.push_back(line);
                break;
            }
    return out;
}

struct Recording {
    std::vector<std::string> script;
    json finalStore;
};

// The loop, recorded once per test process.
const Recording& loop() {
    static const Recording recording = [] {
        const std::string home = freshHome();
        const char* old = std::getenv("XDG_DATA_HOME");
        const std::string previous = old ? old : "";
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        Recording r;
        {
            Playtest pt;
            LoopRecorder recorder(pt);
            r.script = recorder.record();
            r.finalStore = pt.store();
            EXPECT_TRUE(recorder.reachedTitleAgain()) << "the loop did not come round to the title";
            EXPECT_EQ(16u, recorder.obstructionsSeen().size()) << "not every obstruction picture was shown";
            EXPECT_GE(recorder.stagesWon(), 2);
        }
        setenv("XDG_DATA_HOME", previous.c_str(), 1);
        fs::remove_all(home);
        return r;
    }();
    return recording;
}

struct Group {
    const char* folder; // files directly under it ("" for the root)
    Damage damage;
};
void PrintTo(const Group& g, std::ostream* out) {
    *out << (*g.folder ? g.folder : "root") << (g.damage == Damage::Removed ? " removed" : " garbage");
}

class DamagedAssetTest : public ::testing::TestWithParam<Group> {};

} // namespace

TEST(FaultsAssets, TheRecordedLoopReplaysTheSameGameOnIntactAssets) {
    const auto& script = loop().script;
    ASSERT_GT(script.size(), 50u);
    const Replay r = replay(script, kAssets);
    ASSERT_TRUE(PlaytestProcess::exitedWith(r.status, 0));
    ASSERT_EQ(script.size() + 2, r.answers.size());
    EXPECT_TRUE(linesAboutFiles(r.log, loadedFiles()).empty())
        << linesAboutFiles(r.log, loadedFiles()).front();
    // The same game the recording played: every offer bought, stages won, a round lost.
    const json store = json::parse(r.answers.back());
    EXPECT_EQ(loop().finalStore, store);
    EXPECT_EQ(3, store.value("timeNo", 0));
    EXPECT_EQ(3, store.value("lifeNo", 0));
    EXPECT_GE(store.value("HS", 0), 2);
}

TEST_P(DamagedAssetTest, EachFileMissingOrGarbledIsReportedOnceAndNothingCrashes) {
    const Group group = GetParam();
#ifdef DOVI_SANITIZE_BUILD
    // Under the sanitizers the first file of each folder stands for the rest: their error paths
    // are the same, and a hundred slow harness runs would not fit the time.
    constexpr int kCasesPerGroup = 1;
#else
    constexpr int kCasesPerGroup = 1000;
#endif
    const auto files = loadedFiles();
    const auto& script = loop().script;
    char dir[] = "/tmp/doviveduzuz-damaged-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(dir));
    int cases = 0;
    for (const std::string& file : files) {
        if (fs::path(file).parent_path().string() != group.folder) continue;
        if (++cases > kCasesPerGroup) break;
        SCOPED_TRACE(file);
        const std::string root = std::string(dir) + "/" + std::to_string(cases);
        const Replay r = replay(script, damagedCopy(root, file, group.damage));
        EXPECT_TRUE(PlaytestProcess::exitedWith(r.status, 0)) << "wait status " << r.status;
        EXPECT_EQ(script.size() + 2, r.answers.size()) << "the harness stopped answering";
        const auto lines = linesAboutFiles(r.log, files);
        ASSERT_EQ(1u, lines.size()) << testing::PrintToString(lines);
        EXPECT_NE(std::string::npos, lines[0].find(file)) << lines[0];
        fs::remove_all(root);
    }
    EXPECT_GT(cases, 0);
    fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, DamagedAssetTest,
    ::testing::Values(Group{"", Damage::Removed}, Group{"", Damage::Garbage},
                      Group{"GameScene", Damage::Removed}, Group{"GameScene", Damage::Garbage},
                      Group{"TitleScene", Damage::Removed}, Group{"TitleScene", Damage::Garbage},
                      Group{"UpGradeScene", Damage::Removed}, Group{"UpGradeScene", Damage::Garbage},
                      Group{"EventScene", Damage::Removed}, Group{"EventScene", Damage::Garbage},
                      Group{"Music", Damage::Removed}, Group{"Music", Damage::Garbage},
                      Group{"fonts", Damage::Removed}, Group{"fonts", Damage::Garbage}),
    [](const auto& info) {
        return std::string(*info.param.folder ? info.param.folder : "Root") +
               (info.param.damage == Damage::Removed ? "Removed" : "Garbage");
    });
