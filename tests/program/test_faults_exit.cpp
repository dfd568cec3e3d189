// Ending the program while a frame's writes are still pending: closing the window, SIGTERM,
// the harness's quit and the end of its input all save them.
#include "engine/app/cocos2d.h"
#include "game/app/AppDelegate.h"
#include "game/shop/UpgradeScene.h"
#include "harness/playtest/Spots.h"
#include "harness/soak/PlaytestProcess.h"
#include "harness/soak/StoreFile.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::string freshFolder() {
    char dir[] = "/tmp/doviveduzuz-exit-XXXXXX";
    return mkdtemp(dir) ? std::string(dir) : std::string();
}

// A store as an earlier run left it: 1000 coins, nothing bought.
std::string storeWithCoins(const std::string& dataHome) {
    const std::string folder = dataHome + "/doviveduzuz";
    fs::create_directories(folder);
    const std::string path = folder + "/UserDefault.db";
    StoreFile::write(path, {{"coinScore", 1000}});
    return path;
}

// The design point (x, y) as the window's mouse reports it: y runs downwards there.
void pushClick(int x, int y) {
    for (const Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        SDL_Event e{};
        e.type = type;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = x;
        e.button.y = 1080 - y;
        // Window 0: no renderer rescales a click that is already in design units.
        e.button.windowID = 0;
        SDL_PushEvent(&e);
    }
}

enum class Ending { CloseWindow, Terminate };

// Counts the frames that run, to show the purchase never saw the end of a frame.
int g_framesRun = 0;
struct FrameCounter : cocos2d::Node {
    static FrameCounter* create() {
        auto* node = new FrameCounter();
        node->init();
        node->autorelease();
        node->scheduleUpdate();
        return node;
    }
    void update(float) override { ++g_framesRun; }
};

// The real game loop, with a purchase click queued in the same batch of events as the end,
// so no frame runs between the purchase and the shutdown.
class EndingDelegate : public AppDelegate {
  public:
    explicit EndingDelegate(Ending ending) : _ending(ending) {}
    bool applicationDidFinishLaunching() override {
        if (!AppDelegate::applicationDidFinishLaunching()) return false;
        auto* director = cocos2d::Director::getInstance();
        auto* shop = UpgradeScene::create(0);
        shop->addChild(FrameCounter::create());
        director->replaceScene(shop);
        director->applyPendingScene();
        pushClick(418, 812); // the time offer: 5 coins
        if (_ending == Ending::CloseWindow) {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        } else {
            std::raise(SIGTERM);
        }
        return true;
    }

  private:
    Ending _ending;
};

} // namespace

TEST(FaultsExit, RealWindowSavesTheLastFrameOnCloseAndOnSigterm) {
    for (const Ending ending : {Ending::CloseWindow, Ending::Terminate}) {
        SCOPED_TRACE(ending == Ending::CloseWindow ? "close" : "SIGTERM");
        const std::string home = freshFolder();
        const std::string path = storeWithCoins(home);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            setenv("XDG_DATA_HOME", home.c_str(), 1);
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            std::signal(SIGTERM, SIG_DFL); // SDL only takes over a default handler
            EndingDelegate app(ending);
            const int code = cocos2d::Application::getInstance()->run();
            _exit(g_framesRun == 0 ? code : 3);
        }
        int status = 0;
        ASSERT_EQ(pid, waitpid(pid, &status, 0));
        EXPECT_TRUE(PlaytestProcess::exitedWith(status, 0))
            << "wait status " << status << " (exit 3: a frame ran)";
        const StoreFile store = StoreFile::read(path);
        EXPECT_EQ("ok", store.integrity);
        EXPECT_EQ(995, store.value("coinScore"));
        EXPECT_EQ(1, store.value("timeNo"));
        fs::remove_all(home);
    }
}

TEST(FaultsExit, GameProgramEndsCleanlyOnSigterm) {
    const std::string home = freshFolder();
    const std::string path = storeWithCoins(home);
    PlaytestProcess game(DOVI_BINARY_DIR "/doviveduzuz",
                         {"XDG_DATA_HOME=" + home, "SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy"},
                         home + "/err.txt");
    ASSERT_TRUE(game.started());
    // The store opens at the end of the first frame; its WAL shows the loop is running.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!fs::exists(path + "-wal") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(fs::exists(path + "-wal")) << "the game never reached its first frame";
    game.signal(SIGTERM);
    const int status = game.wait();
    EXPECT_TRUE(PlaytestProcess::exitedWith(status, 0)) << "wait status " << status;
    // A clean close checkpoints the WAL into the file and removes it (looked at before reading,
    // since a reader of a WAL database makes one).
    EXPECT_FALSE(fs::exists(path + "-wal"));
    const StoreFile store = StoreFile::read(path);
    EXPECT_EQ("ok", store.integrity);
    EXPECT_EQ(1000, store.value("coinScore"));
    fs::remove_all(home);
}

TEST(FaultsExit, HarnessSavesAPendingPurchaseOnQuitAndAtEndOfInput) {
    struct Case {
        std::string purchase;
        bool quit;
        const char* level;
        int coins;
    };
    for (const Case& c : {Case{Spot::tap(Spot::kTimeIcon), true, "timeNo", 995},
                          Case{Spot::tap(Spot::kLifeIcon), false, "lifeNo", 900},
                          Case{"key T", false, "timeNo", 995}, Case{"key L", true, "lifeNo", 900}}) {
        SCOPED_TRACE(c.purchase + (c.quit ? " then quit" : " then end of input"));
        const std::string home = freshFolder();
        const std::string path = storeWithCoins(home);
        PlaytestProcess pt(DOVI_BINARY_DIR "/playtest", {"XDG_DATA_HOME=" + home});
        for (const char* command : {"seed 5", "open shop 0", "step 2"})
            ASSERT_EQ("ok", pt.ask(command).value_or("<no answer>")) << command;
        ASSERT_EQ("ok", pt.ask(c.purchase).value_or("<no answer>"));
        // Bought in memory, not yet on disk: the frame has not ended.
        EXPECT_NE(std::string::npos, pt.ask("store").value_or("").find(std::string("\"") + c.level + "\":1"));
        EXPECT_EQ(0, StoreFile::read(path).value(c.level));
        if (c.quit) pt.send("quit");
        pt.closeInput();
        EXPECT_TRUE(PlaytestProcess::exitedWith(pt.wait(), 0));
        const StoreFile store = StoreFile::read(path);
        EXPECT_EQ("ok", store.integrity);
        EXPECT_EQ(1, store.value(c.level));
        EXPECT_EQ(c.coins, store.value("coinScore"));
        fs::remove_all(home);
    }
}
