// The options panel as a player meets it: opened and closed by every hand from the title and the
// pause panel, the music and the effects set apart (an older save's one volume standing for
// both), starting over (Cancel first; Erase takes progress and only progress, in one commit that
// a kill right after keeps), and the credits rolling and scrolled.
#include "game/common/SavedKeys.h"
#include "game/round/PausePanel.h"
#include "game/title/QuitPanel.h"
#include "harness/soak/PlaytestProcess.h"
#include "harness/soak/StoreFile.h"
#include "tests/support/ProcessRunner.h"
#include "tests/support/test_loop_fixture.h"

#include <csignal>

using nlohmann::json;

namespace {

class OptionsTest : public LoopTest {
  protected:
    void run(const std::string& command) { ASSERT_EQ(pt->execute(command), "ok") << command; }
    json state() { return json::parse(pt->execute("options state")); }
    void pad(const std::string& button) {
        run("pad button 0 " + button + " down");
        run("pad button 0 " + button + " up");
    }
    void finger(const cocos2d::Vec2& at) {
        const std::string where = std::to_string(at.x) + " " + std::to_string(at.y);
        run("finger 1 down " + where);
        run("finger 1 up " + where);
    }
    // The last change of the player's setting the audio engine heard.
    json lastSetting() {
        json last;
        for (const auto& s : pt->sounds())
            if (s["call"] == "setMasterVolume") last = s;
        return last;
    }
    void expectOpen(bool open, const std::string& how) {
        seconds(0.1);
        EXPECT_EQ(state()["open"], open) << how;
    }
};

TEST_F(OptionsTest, OpensAndClosesByEveryHandFromTheTitleAndThePausePanel) {
    seconds(0.5);
    // The title: its own button, O and the pad's X open; BACK, Escape, Backspace and B close.
    tap(Spot::kTitleOptions);
    expectOpen(true, "a click on the title's OPTIONS");
    tap(Spot::kOptionsBack);
    expectOpen(false, "a click on BACK");
    finger(Spot::kTitleOptions);
    expectOpen(true, "a finger on OPTIONS");
    finger(Spot::kOptionsBack);
    expectOpen(false, "a finger on BACK");
    run("key O");
    expectOpen(true, "O");
    // The highlight starts on BACK; Escape closes the options, not into the quit panel.
    const cocos2d::MenuItemImage* on = cocos2d::InputMap::getInstance()->highlighted();
    ASSERT_NE(on, nullptr);
    EXPECT_NEAR(on->convertToWorldSpace(cocos2d::Vec2(on->getContentSize().width / 2, 0)).x,
                Spot::kOptionsBack.x, 1);
    run("key Escape");
    expectOpen(false, "Escape");
    EXPECT_FALSE(pt->find<QuitPanel>()->isOpen);
    run("key O");
    expectOpen(true, "O again");
    run("key Backspace");
    expectOpen(false, "Backspace, the browser's Escape");
    run("pad attach 0");
    pad("x");
    expectOpen(true, "the pad's X");
    pad("b");
    expectOpen(false, "the pad's B");
    EXPECT_EQ(pt->tree()["type"], "TitleScene") << "no press under the panel started the game";

    // The round: the pause panel's OPTIONS, and back to the pause panel with the round held.
    run("open game 0 0 0");
    seconds(1.5);
    run("key Escape");
    seconds(0.1);
    tap(Spot::kPauseOptions);
    expectOpen(true, "a click on the pause panel's OPTIONS");
    run("key Escape");
    expectOpen(false, "Escape in a round");
    EXPECT_TRUE(pt->find<PausePanel>()->isOpen) << "the pause panel is where the options close to";
    pad("x");
    expectOpen(true, "the pad's X on the pause panel");
    pad("b");
    expectOpen(false, "the pad's B in a round");
    run("key O");
    expectOpen(true, "O on the pause panel");
    run("key Return"); // the highlight starts on BACK
    expectOpen(false, "Enter on BACK");
    EXPECT_TRUE(pt->find<PausePanel>()->isOpen);
}

TEST_F(OptionsTest, MusicAndEffectsApartWhileTheVolumeKeysAndMuteTakeBoth) {
    seconds(0.5);
    tap(Spot::kTitleOptions);
    seconds(0.1);
    pt->sounds();
    tap(Spot::kMusicDown);
    tap(Spot::kMusicDown);
    json setting = lastSetting();
    EXPECT_NEAR(setting["volume"].get<double>(), 0.8, 1e-5);
    EXPECT_NEAR(setting["effectsVolume"].get<double>(), 1.0, 1e-5);
    // The title asks for its music at half: the device gets half the player's music volume.
    EXPECT_NEAR(setting["music"].get<double>(), 0.4, 1e-5);
    EXPECT_NEAR(setting["effects"].get<double>(), 1.0, 1e-5);
    for (int i = 0; i < 12; ++i)
        tap(Spot::kEffectsDown);
    tap(Spot::kEffectsUp);
    EXPECT_EQ(state()["music"], 80);
    EXPECT_EQ(state()["effects"], 10);

    // The volume keys move both a step, each within its bounds; M silences both.
    run("key =");
    run("key =");
    run("key =");
    EXPECT_EQ(state()["music"], 100);
    EXPECT_EQ(state()["effects"], 40);
    run("key M");
    setting = lastSetting();
    EXPECT_TRUE(setting["muted"].get<bool>());
    EXPECT_EQ(setting["music"].get<double>(), 0.0);
    EXPECT_EQ(setting["effects"].get<double>(), 0.0);
    // Either step turns the sound back on.
    tap(Spot::kMusicUp);
    EXPECT_FALSE(state()["muted"].get<bool>());
    seconds(0.1);
    const json store = pt->store();
    EXPECT_EQ(store["musicVolumePercent"], 100);
    EXPECT_EQ(store["effectsVolumePercent"], 40);

    // They outlive a restart.
    restart();
    EXPECT_EQ(state()["music"], 100);
    EXPECT_EQ(state()["effects"], 40);
}

TEST(OptionsOldSave, TheOneVolumeOfAnOlderSaveStandsForBoth) {
    const std::string home = makeTempDir();
    ASSERT_TRUE(std::filesystem::create_directories(StoreFile::folderIn(home)));
    ASSERT_TRUE(StoreFile::write(StoreFile::pathIn(home),
                                 {{"soundVolumePercent", 60}, {keys::kCoinScore, 120}},
                                 {{"soundMuted", false}}));
    const auto run = runPlaytest("options state\nsounds\nstore\n", home);
    ASSERT_EQ(run.lines.size(), 3u) << run.errors;
    const json options = json::parse(run.lines[0]);
    EXPECT_EQ(options["music"], 60);
    EXPECT_EQ(options["effects"], 60);
    bool heard = false;
    for (const auto& s : json::parse(run.lines[1]))
        if (s["call"] == "setMasterVolume" && !heard) {
            heard = true;
            EXPECT_NEAR(s["volume"].get<double>(), 0.6, 1e-5);
            EXPECT_NEAR(s["effectsVolume"].get<double>(), 0.6, 1e-5);
        }
    EXPECT_TRUE(heard);
    EXPECT_EQ(json::parse(run.lines[2])[keys::kCoinScore], 120);
}

// Every progress key at a value a player could have, and settings beside them.
class StartOverTest : public OptionsTest {
  protected:
    void setUpPlayed() {
        auto* store = cocos2d::UserDefault::getInstance();
        for (const char* key : keys::kProgressNumbers)
            store->setIntegerForKey(key, 3);
        for (const char* key : keys::kProgressFlags)
            store->setBoolForKey(key, true);
        store->setIntegerForKey("musicVolumePercent", 30);
        store->setIntegerForKey("effectsVolumePercent", 70);
        store->setBoolForKey("windowFullscreen", true);
        seconds(0.1);
    }
    void expectProgress(bool kept, const std::string& when) {
        const json store = pt->store();
        for (const char* key : keys::kProgressNumbers)
            EXPECT_EQ(store.value(key, -1), kept ? 3 : 0) << key << " " << when;
        for (const char* key : keys::kProgressFlags)
            EXPECT_EQ(store.value(key, !kept), kept) << key << " " << when;
        EXPECT_EQ(store["musicVolumePercent"], 30) << when;
        EXPECT_EQ(store["effectsVolumePercent"], 70) << when;
        EXPECT_EQ(store["windowFullscreen"], true) << when;
    }
};

TEST_F(StartOverTest, CancelIsTheHighlightsFirstAndEraseTakesProgressOnly) {
    setUpPlayed();
    run("key O");
    seconds(0.1);
    tap(Spot::kStartOver);
    seconds(0.1);
    ASSERT_TRUE(state()["asking"].get<bool>());
    // Enter at once presses what the highlight starts on: CANCEL.
    run("key Return");
    seconds(0.1);
    EXPECT_FALSE(state()["asking"].get<bool>());
    EXPECT_TRUE(state()["open"].get<bool>());
    expectProgress(true, "after Cancel");
    run("pad attach 0");
    tap(Spot::kStartOver);
    pad("b");
    seconds(0.1);
    EXPECT_FALSE(state()["asking"].get<bool>());
    expectProgress(true, "after B");

    tap(Spot::kStartOver);
    tap(Spot::kErase);
    seconds(0.1);
    expectProgress(false, "after Erase");
    EXPECT_TRUE(state()["open"].get<bool>()) << "back on the panel";

    // From a round, erasing gives the round up: nothing it carried comes back.
    setUpPlayed();
    run("open game 3 3 3");
    seconds(1.5);
    run("options open");
    run("options startover");
    run("options erase");
    ASSERT_EQ(pt->execute("wait TitleScene"), "ok");
    seconds(1.5);
    const json store = pt->store();
    for (const char* key : keys::kProgressNumbers)
        EXPECT_EQ(store.value(key, -1), 0) << key << " after a round given up";
}

TEST(StartOverKill, AnEraseOutlivesAKillRightAfterItsFrame) {
    const std::string home = makeTempDir();
    ASSERT_TRUE(std::filesystem::create_directories(StoreFile::folderIn(home)));
    std::map<std::string, int> played;
    for (const char* key : keys::kProgressNumbers)
        played[key] = 5;
    std::map<std::string, bool> flags;
    for (const char* key : keys::kProgressFlags)
        flags[key] = true;
    flags["soundMuted"] = true;
    ASSERT_TRUE(StoreFile::write(StoreFile::pathIn(home), played, flags));

    PlaytestProcess game(DOVI_BINARY_DIR "/playtest", {"XDG_DATA_HOME=" + home});
    ASSERT_TRUE(game.started());
    for (const char* command : {"step 10", "options open", "options startover", "options erase", "step 1"})
        ASSERT_EQ(game.ask(command), "ok") << command;
    game.kill(SIGKILL);

    const StoreFile after = StoreFile::read(StoreFile::pathIn(home));
    ASSERT_TRUE(after.readable);
    for (const char* key : keys::kProgressNumbers)
        EXPECT_EQ(after.value(key), 0) << key;
    for (const char* key : keys::kProgressFlags)
        EXPECT_FALSE(after.flag(key)) << key;
    EXPECT_TRUE(after.flag("soundMuted")) << "a setting stays";
}

TEST_F(OptionsTest, TheCreditsRollAndScrollByKeysPadWheelAndDrag) {
    seconds(0.5);
    run("key O");
    seconds(0.1);
    tap(Spot::kCredits);
    seconds(0.1);
    ASSERT_EQ(state()["page"], "credits");
    const auto offset = [this] { return state()["creditsOffset"].get<double>(); };
    // Still for a moment at the top, then rolling up on its own.
    seconds(2.5);
    EXPECT_EQ(offset(), 0.0);
    seconds(2);
    const double rolled = offset();
    EXPECT_GT(rolled, 30.0);
    // Down moves the lines up, Up back; the rolling waits after each.
    run("key Down");
    EXPECT_NEAR(offset(), rolled + 80, 1);
    run("key Up");
    run("key Up");
    EXPECT_NEAR(offset(), rolled - 80, 1);
    seconds(1);
    EXPECT_NEAR(offset(), rolled - 80, 1);
    run("wheel -2");
    EXPECT_NEAR(offset(), rolled + 80, 1);
    run("pad attach 0");
    run("pad axis 0 lefty 0.9");
    run("step 2");
    run("pad axis 0 lefty 0");
    run("step 2");
    EXPECT_NEAR(offset(), rolled + 160, 1) << "a stick flicked down";
    run("down 960 500");
    run("move 960 560");
    run("up 960 560");
    EXPECT_NEAR(offset(), rolled + 220, 1) << "a drag of 60 up";
    // BACK leaves for the panel, where the highlight starts again.
    pad("b");
    seconds(0.1);
    EXPECT_EQ(state()["page"], "");
    EXPECT_TRUE(state()["open"].get<bool>());
}

} // namespace
