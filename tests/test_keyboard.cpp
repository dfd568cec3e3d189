// Keys do exactly what a tap on their control does: same tree, same store, same sounds.
#include "GameLayer.h"
#include "Playtest.h"
#include "ProcessRunner.h"

#include <functional>
#include <gtest/gtest.h>

using nlohmann::json;

namespace {

struct Outcome {
    json tree, store, sounds;
};

// Plays the same seeded script twice, once with `tap` and once with `key`, and records both ends.
Outcome play(const std::vector<std::string>& before, const std::string& action, int framesAfter) {
    setenv("XDG_DATA_HOME", makeTempDir().c_str(), 1);
    Playtest pt;
    pt.execute("seed 11");
    for (const auto& line : before)
        pt.execute(line);
    pt.sounds();
    pt.execute(action);
    pt.step(framesAfter);
    return {pt.tree(), pt.store(), pt.sounds()};
}

void expectSame(const std::vector<std::string>& before, const std::string& tap, const std::string& key,
                int framesAfter = 2) {
    const Outcome byTap = play(before, tap, framesAfter);
    const Outcome byKey = play(before, key, framesAfter);
    EXPECT_EQ(byTap.store, byKey.store) << key;
    EXPECT_EQ(byTap.sounds, byKey.sounds) << key;
    EXPECT_EQ(byTap.tree, byKey.tree) << key;
    EXPECT_FALSE(byKey.sounds.empty()) << key << " did nothing";
}

} // namespace

TEST(Keyboard, TitleAndCutSceneTakeSpaceAndEnterAsATap) {
    expectSame({"step 30"}, "tap 100 100", "key Space", 30);
    expectSame({"step 30"}, "tap 100 100", "key Return", 30);
    expectSame({"open event 10 1 2", "step 30"}, "tap 5 5", "key Space", 40);
}

TEST(Keyboard, RingKeysPressTheirButtons) {
    const char* keys[6] = {"W", "E", "D", "X", "Z", "A"};
    const char* keypad[6] = {"Keypad 7", "Keypad 9", "Keypad 6", "Keypad 3", "Keypad 1", "Keypad 4"};
    const float x[6] = {758.4f, 1200, 1392, 1200, 758.4f, 585.6f};
    const float y[6] = {772.2f, 772.2f, 534.6f, 307.8f, 307.8f, 534.6f};
    for (int i = 0; i < 6; ++i) {
        const std::string tap = "tap " + std::to_string(x[i]) + " " + std::to_string(y[i]);
        expectSame({"open game 0 3 0", "step 10"}, tap, std::string("key ") + keys[i]);
        if (i % 2 == 0) expectSame({"open game 0 3 0", "step 10"}, tap, std::string("key ") + keypad[i]);
    }
    expectSame({"open game 0 3 0", "step 10", "tap 1200 772.2", "step 1"}, "tap 384 108", "key Backspace");
}

TEST(Keyboard, ShopKeysBuyStartAndLeave) {
    expectSame({"open shop 500", "step 2"}, "tap 418 812", "key T");
    expectSame({"open shop 500", "step 2"}, "tap 1040 812", "key L");
    expectSame({"open shop 500", "step 2"}, "tap 1584 135", "key Return", 70);
    expectSame({"open shop 500", "step 2"}, "tap 96 108", "key Escape", 70);
}

TEST(Keyboard, ResultPanelKeysOnlyOnceItsButtonsAreThere) {
    // Life level 0 and time level 0: the first stage times out after 5 s.
    const std::vector<std::string> over = {"open game 7 0 0", "step 300", "step 20"};
    // At 1 s after game over the buttons do not exist yet: R does nothing.
    setenv("XDG_DATA_HOME", makeTempDir().c_str(), 1);
    {
        Playtest pt;
        for (const auto& l : over)
            pt.execute(l);
        pt.step(60);
        pt.sounds();
        pt.execute("key R");
        pt.step(2);
        EXPECT_EQ(pt.sounds(), json::array());
        EXPECT_NE(pt.find<GameLayer>(), nullptr);
    }
    std::vector<std::string> shown = over;
    shown.push_back("step 180");
    expectSame(shown, "tap 672 324", "key R", 70);
    expectSame(shown, "tap 1248 324", "key S", 70);
}

TEST(Keyboard, NoKeyDuringAFadeOrForOtherScreens) {
    setenv("XDG_DATA_HOME", makeTempDir().c_str(), 1);
    Playtest pt;
    pt.execute("open shop 500");
    pt.step(2);
    pt.execute("key Return"); // start: a one-second fade to the cut-scene
    pt.step(10);
    pt.sounds();
    const json store = pt.store();
    pt.execute("key T");
    pt.execute("key W");
    pt.step(2);
    EXPECT_EQ(pt.sounds(), json::array());
    EXPECT_EQ(pt.store(), store);
}
